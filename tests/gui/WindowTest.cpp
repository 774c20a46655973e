// The real window under an X server, driven by real key and mouse events.
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <thread>

#include "GuiHarness.h"
#include "ScreenPixel.h"

#include <X11/keysym.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

namespace {

const wxColour kWhite(255, 255, 255), kBlack(0, 0, 0), kRed(255, 0, 0), kGreen(0, 255, 0);
const wxColour kYellow(255, 255, 0), kBlue(0, 100, 255);

}  // namespace

TEST_F(GuiTest, OpensOnTheIndexPageAfterABlankFirstPaint)
{
    EXPECT_GE(probe.paints, 2);
    EXPECT_TRUE(ShowsAt("    KBR_DORIN belongs to ''Arvenlo'' series.", 20, 20));
    EXPECT_EQ(frame->GetTitle(), "   kbr_dorin - test and train your reaction");
    // The page is framed by a 1-pixel black line on a white area.
    EXPECT_TRUE(WaitFor([&] { return PixelAt(frame->ViewWindow(), 0, 0) == kBlack; }));
    EXPECT_EQ(PixelAt(frame->ViewWindow(), 1, 1), kWhite);
}

TEST_F(GuiTest, KeyAStartsModeAAndTheSquareAppearsAfterTheWait)
{
    Type('a');
    ASSERT_TRUE(WaitFor([&] { return Shows("Mode A: finding reaction."); }));
    EXPECT_TRUE(ShowsAt("STARTED...", 30, 170));
    EXPECT_TRUE(ShowsAt("Mode A: finding reaction.", 230, 20));

    ASSERT_TRUE(WaitForSquare(kBlack));
    wxWindow& view = frame->ViewWindow();
    EXPECT_EQ(PixelAt(view, 29, 29), kWhite);
    EXPECT_EQ(PixelAt(view, 120, 120), kWhite);
    EXPECT_EQ(PixelAt(view, 119, 119), kBlack);
}

TEST_F(GuiTest, ColouredSquareHasAOnePixelBlackOutline)
{
    Type('c');
    ASSERT_TRUE(WaitFor([&] { return Doc().m_bTiming; }, 8000));
    const wxColour colour = Doc().m_strSide == "left" ? kYellow : kBlue;
    ASSERT_TRUE(WaitForSquare(colour));
    wxWindow& view = frame->ViewWindow();
    for (int edge : {30, 119}) {
        EXPECT_EQ(PixelAt(view, edge, 75), kBlack) << edge;
        EXPECT_EQ(PixelAt(view, 75, edge), kBlack) << edge;
    }
    for (int inside : {31, 118}) {
        EXPECT_EQ(PixelAt(view, inside, 75), colour) << inside;
        EXPECT_EQ(PixelAt(view, 75, inside), colour) << inside;
    }
    EXPECT_EQ(PixelAt(view, 29, 75), kWhite);
    EXPECT_EQ(PixelAt(view, 120, 75), kWhite);
}

TEST_F(GuiTest, AnswerShowsTheVerdictAndTheDelay)
{
    Type('a');
    ASSERT_TRUE(WaitForSquare(kBlack));
    WaitUntilSquareShownFor(40);
    const int delay = Doc().m_nDelay;
    Type(WXK_SPACE);
    ASSERT_TRUE(WaitFor([&] { return Doc().m_dSeriesCount == 1.0; }));
    const std::string verdict = std::to_string(static_cast<int>(Doc().m_dSeriesSum)) + " ms REACTION.";
    EXPECT_TRUE(ShowsAt(verdict, 30, 170)) << verdict;
    EXPECT_TRUE(ShowsAt(std::to_string(delay) + " ms delay.", 30, 190));
}

TEST_F(GuiTest, KeyDuringTheWaitIsAFalseStart)
{
    Type('b');
    ASSERT_TRUE(WaitFor([&] { return Doc().m_bPauseRunning; }));
    Type('s');
    ASSERT_TRUE(WaitFor([&] { return Shows("FALSTART."); }));
    EXPECT_NE(PixelAt(frame->ViewWindow(), 75, 75), kRed);
}

// An expiry of timer 1 that comes while a repaint is pending waits for the paint;
// when that paint sets the timer again (a new wait), the old expiry is dropped, as a
// timer that is set again starts afresh.
TEST_F(GuiTest, AnExpiryWaitingBehindAPaintIsDroppedWhenThePaintSetsTheTimerAgain)
{
    Type('a');
    ASSERT_TRUE(WaitFor([&] { return Doc().m_bPauseRunning; }));
    struct Restarting : TextProbe {
        std::function<void()> atEnd;
        void PaintEnds() override
        {
            if (atEnd)
                std::exchange(atEnd, nullptr)();
        }
    } restarting;
    WxViewWindow& window = frame->ViewWindow();
    restarting.atEnd = [&] { window.SetTimer(1, 5000); };
    window.SetPaintProbe(&restarting);
    window.SetTimer(1, 1);
    window.Invalidate(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));  // the expiry and the paint both wait
    WaitFor([&] { return false; }, 200);
    window.SetPaintProbe(&probe);
    EXPECT_FALSE(restarting.atEnd) << "the paint ran";
    EXPECT_TRUE(Doc().m_bPauseRunning) << "the wait was ended by the expiry of the timer it replaced";
}

// The second press of a quick double click reaches the program as a double click:
// it is a press all the same. Here the first click answers the square and the
// second comes during the next wait: a false start.
TEST_F(GuiTest, TheSecondPressOfADoubleClickCounts)
{
    for (const wxMouseButton button : {wxMOUSE_BTN_LEFT, wxMOUSE_BTN_RIGHT}) {
        SCOPED_TRACE(button);
        Type('a');
        ASSERT_TRUE(WaitForSquare(kBlack));
        WaitUntilSquareShownFor(40);
        sim.MouseMove(frame->ViewWindow().ClientToScreen(wxPoint(300, 200)));
        Pump();
        sim.MouseClick(button);
        ASSERT_TRUE(WaitFor([&] { return Doc().m_bPauseRunning; }, 300)) << "the next wait starts at once";
        WaitFor([] { return false; }, 120);  // past a bounce of the first press
        sim.MouseClick(button);  // well within the double-click time of the first
        EXPECT_TRUE(WaitFor([&] { return Doc().m_bFalseStart; }, 1000));
        Type(WXK_ESCAPE);
        WaitFor([&] { return Doc().m_strPage == "explanation"; });
    }
}

// A key held after it answered repeats on its own: the repeats are no presses,
// neither during the next wait (no false start) nor on the next square.
TEST_F(GuiTest, AKeyHeldAfterTheAnswerIsOneAnswer)
{
    Type('a');
    ASSERT_TRUE(WaitForSquare(kBlack));
    WaitUntilSquareShownFor(40);
    sim.KeyDown(WXK_SPACE);
    ASSERT_TRUE(WaitFor([&] { return Doc().m_bPauseRunning; }, 1000));
    int repeats = 0;
    struct Counter : wxEventFilter {
        int* count;
        int FilterEvent(wxEvent& event) override
        {
            if (event.GetEventType() == wxEVT_KEY_DOWN)
                ++*count;
            return Event_Skip;
        }
    } counter;
    counter.count = &repeats;
    wxEvtHandler::AddFilter(&counter);
    WaitFor([] { return false; }, 1500);
    wxEvtHandler::RemoveFilter(&counter);
    sim.KeyUp(WXK_SPACE);
    Pump();
    EXPECT_GT(repeats, 5) << "the X server repeated the key";
    EXPECT_FALSE(Doc().m_bFalseStart);
    ASSERT_TRUE(WaitForSquare(kBlack));
    WaitUntilSquareShownFor(40);
    Type(WXK_SPACE);
    EXPECT_TRUE(WaitFor([&] { return Doc().m_dSeriesCount == 2.0; }, 1000)) << "both answers count";
}

// Exit has no key of its own: a key beside it in the menu would be a promise the
// program does not keep (on the task page every key is an answer).
TEST_F(GuiTest, ExitShowsNoKey)
{
    wxMenuItem* exit = frame->GetMenuBar()->FindItem(WxIdOf(cmd::kAppExit));
    ASSERT_TRUE(exit);
    EXPECT_EQ(exit->GetItemLabel(), "E&xit (close program)");
    std::unique_ptr<wxAcceleratorEntry> key(exit->GetAccel());
    EXPECT_FALSE(key) << key->ToString();
#ifdef __WXGTK__
    // What GTK draws beside the item: a stock item brings its own key.
    GtkWidget* label = gtk_bin_get_child(GTK_BIN(exit->GetMenuItem()));
    ASSERT_TRUE(GTK_IS_ACCEL_LABEL(label));
    GList* keys = gtk_widget_list_accel_closures(exit->GetMenuItem());
    EXPECT_EQ(g_list_length(keys), 0u) << "a key drawn beside Exit";
    g_list_free(keys);
#endif
}

// Every key answers, and during the wait every key is a false start: also keys
// without a letter or a name of their own.
TEST_F(GuiTest, EveryKeyMarksAFalseStartDuringTheWait)
{
    const struct {
        const char* name;
        unsigned long keysym;
    } keys[] = {
        {"Menu", XK_Menu}, {"key left of Z", XK_less}, {"Print", XK_Print},
        {"KP_Equal", XK_KP_Equal}, {"AltGr", XK_ISO_Level3_Shift}, {"Super", XK_Super_L},
    };
    for (const auto& key : keys) {
        SCOPED_TRACE(key.name);
        Type('b');
        ASSERT_TRUE(WaitFor([&] { return Doc().m_bPauseRunning && !Doc().m_bFalseStart; }));
        if (!PressKeysym(key.keysym))
            continue;  // this keyboard has no such key
        EXPECT_TRUE(WaitFor([&] { return Doc().m_bFalseStart; }, 1000));
        Type(WXK_ESCAPE);
        ASSERT_TRUE(WaitFor([&] { return Doc().m_strPage == "explanation"; }));
    }
}

// With a Cyrillic layout active the letter keys keep their Latin meaning: A, B, C
// choose the mode, S and L answer in mode C.
TEST_F(GuiTest, LetterKeysWorkWithACyrillicLayoutActive)
{
    ASSERT_EQ(std::system("setxkbmap -layout us,ru"), 0);
    LockKeyboardGroup(1);
    struct Restore {
        ~Restore()
        {
            LockKeyboardGroup(0);
            std::system("setxkbmap -layout us");
        }
    } restore;
    WaitFor([] { return false; }, 200);  // the new layout reaches the program
    for (const auto& [keysym, mode] : {std::pair{XK_a, 'a'}, {XK_b, 'b'}, {XK_c, 'c'}}) {
        PressKeysym(keysym);
        EXPECT_TRUE(WaitFor([&] { return Doc().m_chMode == mode; }, 2000)) << mode;
    }
    ASSERT_TRUE(WaitFor([&] { return Doc().m_bTiming; }, 8000));
    WaitUntilSquareShownFor(40);  // a person's reaction, not 0 ms
    PressKeysym(Doc().m_strSide == "left" ? XK_s : XK_l);
    EXPECT_TRUE(WaitFor([&] { return Doc().m_dSeriesCount == 1.0; }, 2000)) << "the right side's letter answers";
}

TEST_F(GuiTest, MouseButtonsAnswerTheSquare)
{
    Type('a');
    ASSERT_TRUE(WaitForSquare(kBlack));
    WaitUntilSquareShownFor(40);
    sim.MouseMove(frame->ViewWindow().ClientToScreen(wxPoint(300, 200)));
    Pump();
    sim.MouseClick(wxMOUSE_BTN_RIGHT);
    EXPECT_TRUE(WaitFor([&] { return Doc().m_dSeriesCount == 1.0; }));
}

// The moment of the press counts, not the moment the busy program gets to it.
TEST_F(GuiTest, ReactionIsTakenFromThePressEvenWhenTheHandlerIsLate)
{
    Type('a');
    ASSERT_TRUE(WaitForSquare(kBlack));
    WaitUntilSquareShownFor(40);
    Type('x');
    std::this_thread::sleep_for(std::chrono::milliseconds(150));  // the main thread is busy
    ASSERT_TRUE(WaitFor([&] { return Doc().m_dSeriesCount == 1.0; }));
    // Pressed 40 ms after the square was on the display; the handler ran 150 ms later.
    EXPECT_GE(Doc().m_dSeriesSum, 40.0 - 9);
    EXPECT_LT(Doc().m_dSeriesSum, 100.0) << "the stop tick is the press, not the late handler";
}

TEST_F(GuiTest, EscReturnsToTheIndexPage)
{
    Type('c');
    ASSERT_TRUE(WaitFor([&] { return Shows("Mode C: selective reaction."); }));
    Type(WXK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return ShowsAt("    KBR_DORIN belongs to ''Arvenlo'' series.", 20, 20); }));
    EXPECT_FALSE(Doc().m_bPauseRunning);
}

TEST_F(GuiTest, CommandsAreGreyedForTheCurrentPageModeAndLanguage)
{
    struct Expect {
        int tool, menu;
    };
    const Expect index{cmd::kToolIndexPage, cmd::kMenuIndexPage};
    const Expect modeB{cmd::kToolModeB, cmd::kMenuModeB};
    const Expect modeA{cmd::kToolModeA, cmd::kMenuModeA};
    const Expect english{cmd::kToolEnglish, cmd::kMenuEnglish};
    const Expect lithuanian{cmd::kToolLithuanian, cmd::kMenuLithuanian};
    auto enabled = [&](const Expect& e) {
        const bool tool = ToolEnabled(e.tool);
        EXPECT_EQ(tool, MenuEnabled(e.menu)) << "menu and toolbar agree for " << e.tool;
        return tool;
    };

    EXPECT_FALSE(enabled(index));
    EXPECT_TRUE(enabled(modeB));
    EXPECT_FALSE(enabled(english));
    EXPECT_TRUE(enabled(lithuanian));

    ClickTool(cmd::kToolModeB);
    ASSERT_TRUE(WaitFor([&] { return Shows("Mode B: distinction reaction."); }));
    EXPECT_TRUE(WaitFor([&] { return ToolEnabled(cmd::kToolIndexPage); }));
    EXPECT_TRUE(enabled(index));
    EXPECT_FALSE(enabled(modeB));
    EXPECT_TRUE(enabled(modeA));

    // After each language only its own command is grey.
    const std::map<char, Expect> languages = {{'E', english},
                                              {'R', {cmd::kToolRussian, cmd::kMenuRussian}},
                                              {'L', lithuanian},
                                              {'T', {cmd::kToolLithuanianLatin, cmd::kMenuLithuanianLatin}}};
    for (char chosen : {'R', 'L', 'T', 'E'}) {
        SCOPED_TRACE(chosen);
        ClickTool(languages.at(chosen).tool);
        ASSERT_TRUE(WaitFor([&] { return Doc().m_chLanguage == chosen; }));
        EXPECT_TRUE(WaitFor([&] { return !ToolEnabled(languages.at(chosen).tool); }));
        for (const auto& [language, command] : languages)
            EXPECT_EQ(enabled(command), language != chosen) << language;
    }
    EXPECT_TRUE(MenuEnabled(cmd::kMenuAbout));
    EXPECT_TRUE(MenuEnabled(cmd::kMenuValidation));
}

TEST_F(GuiTest, LanguageFromTheMenuRedrawsThePage)
{
    Type('m', wxMOD_ALT);  // Menu
    Pump();
    Type('l');  // Language...
    Pump();
    Type('r');  // Russian
    ASSERT_TRUE(WaitFor([&] { return Doc().m_chLanguage == 'R'; }));
    EXPECT_TRUE(WaitFor([&] {
        return ShowsAt("    KBR_DORIN vxodit v seriyu pragram dlia treninga mozga ''Arvenlo''.", 20, 9);
    }));
    EXPECT_EQ(Doc().m_chBackupState, 'b');
}

TEST_F(GuiTest, ToolbarCanBeHiddenAndShownAgain)
{
    EXPECT_TRUE(frame->ToolBarShown());
    Type('m', wxMOD_ALT);
    Pump();
    Type('t');
    ASSERT_TRUE(WaitFor([&] { return !frame->ToolBarShown(); }));
    frame->GetMenuBar()->UpdateMenus();
    EXPECT_FALSE(frame->GetMenuBar()->IsChecked(WxIdOf(cmd::kViewToolbar)));
    Type('m', wxMOD_ALT);
    Pump();
    Type('t');
    ASSERT_TRUE(WaitFor([&] { return frame->ToolBarShown(); }));
    frame->GetMenuBar()->UpdateMenus();
    EXPECT_TRUE(frame->GetMenuBar()->IsChecked(WxIdOf(cmd::kViewToolbar)));
}

// A damaged records file without a backup: the message stays for its pause while
// the window takes no input, then the start page follows.
class DamagedRecordsTest : public GuiTest {
protected:
    void BeforeOpen() override
    {
        std::ofstream("kbr_dorin.ini", std::ios::binary | std::ios::trunc) << std::string(295, 'Z');
    }
};

TEST_F(DamagedRecordsTest, MessageStaysForItsPauseAndInputWaits)
{
    const std::string cleared = "File 'kbr_dorin.ini' was found damaged and results were deleted.";
    ASSERT_TRUE(Shows(cleared));
    EXPECT_TRUE(frame->ViewWindow().Paused());
    const auto shown = std::chrono::steady_clock::now();
    Type('a');  // not taken while the message is up
    ASSERT_TRUE(WaitFor([&] { return Shows("    KBR_DORIN belongs to ''Arvenlo'' series."); }, 12000));
    const auto paused = std::chrono::steady_clock::now() - shown;
    EXPECT_GE(paused, std::chrono::milliseconds(6500));
    EXPECT_EQ(Doc().m_strPage, "explanation");
    EXPECT_EQ(Doc().m_dTotalRecord[0], 0.0);
}
