// The paint's start-up, the index page in each language, the word wrap, the
// shared drawing helpers and the enable rules of the commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/WordWrap.h"
#include "view/commands/CommandIds.h"
#include "support/Session.h"

TEST(Page, FirstPaintIsBlankAndTheSecondShowsTheIndexPage)
{
    Session s;
    s.sim.Invalidate(true);
    s.sim.PumpPaints();
    EXPECT_EQ(s.sim.paintCount, 2);
    EXPECT_FALSE(s.doc.m_bFirstPaint);
    EXPECT_TRUE(s.doc.m_bAttemptOver);
    const auto& texts = s.sim.screen.texts;
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front().text, "    KBR_DORIN belongs to ''Arvenlo'' series.");
    EXPECT_EQ(texts.front().font, s.view.m_fontPage);
    EXPECT_EQ((Point{texts.front().x, texts.front().y}), (Point{20, 20}));
    ASSERT_FALSE(s.sim.screen.rects.empty());
    EXPECT_EQ(s.sim.screen.rects.front().rect, s.sim.client) << "the page starts with the white frame";
    EXPECT_EQ(s.sim.screen.rects.front().fill, (Rgb{255, 255, 255}));
}

TEST(Page, IndexPageFollowsTheLanguageRule)
{
    struct Case {
        char language;
        const char* firstLine;
        bool narrow;
    };
    const Case cases[] = {
        {'E', "    KBR_DORIN belongs to ''Arvenlo'' series.", false},
        {'R', "    KBR_DORIN vxodit v seriyu pragram dlia treninga mozga ''Arvenlo''.", true},
        {'L', "    KBR_DORIN priklauso programų serijai ''Arvenlo'', kuri skirta smegenų", false},
        {'T', "    KBR_DORIN priklauso programu serijai ''Arvenlo'', kuri skirta smegenu", false},
        {'?', "    KBR_DORIN belongs to ''Arvenlo'' series.", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        Session s;
        s.doc.m_chLanguage = c.language;
        s.Open();
        const auto& texts = s.sim.screen.texts;
        ASSERT_FALSE(texts.empty());
        const int margin = c.narrow ? 9 : 20;
        const Rect textRect{20, margin, 552 - 20, 263 - margin};
        EXPECT_EQ(texts.front().text, c.firstLine);
        EXPECT_EQ(texts.front().font, c.narrow ? s.view.m_fontNarrow : s.view.m_fontPage);
        EXPECT_EQ((Point{texts.front().x, texts.front().y}), (Point{20, margin}));
        for (const auto& t : texts) {
            EXPECT_EQ(t.clip, textRect);
            const int chars = static_cast<int>(std::count_if(t.text.begin(), t.text.end(),
                                                             [](char ch) { return (ch & 0xC0) != 0x80; }));
            const bool oneWord = t.text.find(' ', t.text.find_first_not_of(' ')) == std::string::npos;
            EXPECT_TRUE(chars * t.font.width <= textRect.Width() || oneWord) << t.text;
            EXPECT_LT(t.y, textRect.bottom) << "nothing starts below the text rectangle";
        }
    }
}

TEST(Page, TextBreaksOnlyBetweenWordsAndAtLineFeeds)
{
    const auto width = [](std::string_view s) { return static_cast<int>(s.size()) * 7; };
    struct Case {
        const char* text;
        int maxWidth;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"one two three", 7 * 13, {"one two three"}},
        {"one two three", 7 * 12, {"one two", "three"}},
        {"one two three", 7 * 7, {"one two", "three"}},
        {"one two three", 7 * 6, {"one", "two", "three"}},
        {"unbreakable word", 7 * 5, {"unbreakable", "word"}},
        {"    indented text", 7 * 13, {"    indented", "text"}},
        {"a\nb c\n\nd", 7 * 10, {"a", "b c", "", "d"}},
        {"ends  with   blanks   ", 7 * 9, {"ends", "with", "blanks"}},
        {"", 70, {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << "\" in " << c.maxWidth);
        EXPECT_EQ(WrapText(c.text, c.maxWidth, width), c.lines);
    }
}

TEST(Page, WrappedTextStopsAtTheBottomOfItsRectangle)
{
    RecordingCanvas dc({0, 0, 200, 100});
    dc.SelectFont({"Times", 16, 7, 700});
    dc.DrawText("aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk", {10, 10, 80, 60});
    ASSERT_EQ(dc.texts.size(), 4u);  // y = 10, 26, 42 fit; 58 is cut by the clip
    EXPECT_EQ(dc.texts[0].text, "aaaa bbbb");
    EXPECT_EQ(dc.texts[3].y, 58);
    EXPECT_EQ(dc.texts[3].clip, (Rect{10, 10, 80, 60}));
}

TEST(Page, IndexPageResetsTheAttemptEveryTimeItIsDrawn)
{
    Session s;
    s.Open();
    s.doc.m_nSide = 1;
    s.doc.m_bFalseStart = true;
    s.doc.m_dSeriesCount = 4.0;
    s.Repaint();
    EXPECT_EQ(s.doc.m_nSide, -1);
    EXPECT_FALSE(s.doc.m_bFalseStart);
    EXPECT_EQ(s.doc.m_dSeriesCount, 0.0);
}

TEST(Page, LanguageChoiceRedrawsThePageAndMarksTheBackup)
{
    Session s;
    s.Open();
    s.sim.Deliver([&] { s.view.ChooseLanguage('T'); });
    EXPECT_EQ(s.doc.m_chBackupState, 'b');
    EXPECT_EQ(s.sim.screen.texts.front().text.substr(0, 30), "    KBR_DORIN priklauso progra");
}

TEST(Page, CenteredTextOriginTruncatesTowardZero)
{
    struct Case {
        Size text;
        Point origin;
    };
    const Case cases[] = {{{200, 16}, {100, 122}}, {{401, 16}, {0, 122}}, {{404, 16}, {-2, 122}},
                          {{10, 301}, {195, -20}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.cx);
        EXPECT_EQ(CenteredTextOrigin(c.text, {0, 0, 400, 300}), c.origin);
    }
}

TEST(Page, EnableRulesGreyTheCurrentChoice)
{
    // Each state: page, mode, language; then every command with its rule.
    struct State {
        const char* page;
        char mode, language;
    };
    const State states[] = {{"explanation", ' ', 'E'}, {"explanation", 'b', 'R'}, {"task", 'a', 'L'},
                            {"task", 'b', 'T'},        {"task", 'c', 'X'}};
    struct Command {
        int tool, menu;
        std::function<bool(const State&)> enabled;
    };
    const Command commands[] = {
        {cmd::kToolIndexPage, cmd::kMenuIndexPage, [](const State& s) { return std::string(s.page) == "task"; }},
        {cmd::kToolModeA, cmd::kMenuModeA, [](const State& s) { return !(s.mode == 'a' && std::string(s.page) == "task"); }},
        {cmd::kToolModeB, cmd::kMenuModeB, [](const State& s) { return !(s.mode == 'b' && std::string(s.page) == "task"); }},
        {cmd::kToolModeC, cmd::kMenuModeC, [](const State& s) { return !(s.mode == 'c' && std::string(s.page) == "task"); }},
        {cmd::kToolEnglish, cmd::kMenuEnglish, [](const State& s) { return s.language != 'E'; }},
        {cmd::kToolRussian, cmd::kMenuRussian, [](const State& s) { return s.language != 'R'; }},
        {cmd::kToolLithuanian, cmd::kMenuLithuanian, [](const State& s) { return s.language != 'L'; }},
        {cmd::kToolLithuanianLatin, cmd::kMenuLithuanianLatin, [](const State& s) { return s.language != 'T'; }},
        {cmd::kToolAbout, cmd::kMenuAbout, [](const State&) { return true; }},
        {cmd::kToolValidation, cmd::kMenuValidation, [](const State&) { return true; }},
        {cmd::kViewToolbar, cmd::kAppExit, [](const State&) { return true; }},
    };
    for (const State& state : states) {
        Session s;
        s.doc.m_strPage = state.page;
        s.doc.m_chMode = state.mode;
        s.doc.m_chLanguage = state.language;
        for (const Command& c : commands) {
            SCOPED_TRACE(testing::Message() << state.page << " " << state.mode << " " << state.language << " command "
                                            << c.tool);
            EXPECT_EQ(s.view.IsCommandEnabled(c.tool), c.enabled(state));
            EXPECT_EQ(s.view.IsCommandEnabled(c.menu), c.enabled(state));
        }
    }
}

TEST(Page, CommandsRunTheirOperation)
{
    Session s;
    s.Open();
    EXPECT_TRUE(s.view.OnCommand(cmd::kMenuModeC));
    EXPECT_EQ(s.doc.m_chMode, 'c');
    EXPECT_EQ(s.doc.m_strPage, "task");
    EXPECT_TRUE(s.view.OnCommand(cmd::kToolRussian));
    EXPECT_EQ(s.doc.m_chLanguage, 'R');
    EXPECT_TRUE(s.view.OnCommand(cmd::kToolIndexPage));
    EXPECT_EQ(s.doc.m_strPage, "explanation");
    EXPECT_TRUE(s.view.OnCommand(cmd::kToolAbout));
    EXPECT_EQ(s.sim.aboutShown, 1);
    EXPECT_TRUE(s.view.OnCommand(cmd::kMenuValidation));
    EXPECT_EQ(s.sim.validationShown.size(), 1u);
    EXPECT_FALSE(s.view.OnCommand(cmd::kAppExit)) << "the frame's own";
    EXPECT_FALSE(s.view.OnCommand(cmd::kViewToolbar));
}

TEST(Language, CountsTakeTheGrammaticalNumberOfEachLanguage)
{
    constexpr CountedText answers = {{"%d answer", "%d atvet", "%d atsakymas", "%d atsakymas"},
                                     {"%d answers", "%d atveta", "%d atsakymai", "%d atsakymai"},
                                     {"%d answers", "%d atvetov", "%d atsakymų", "%d atsakymu"}};
    struct Case {
        char language;
        long count;
        const char* text;
    };
    const Case cases[] = {
        {'E', 0, "%d answers"},    {'E', 1, "%d answer"},     {'E', 2, "%d answers"},   {'E', 21, "%d answers"},
        {'R', 1, "%d atvet"},      {'R', 21, "%d atvet"},     {'R', 11, "%d atvetov"},  {'R', 3, "%d atveta"},
        {'R', 104, "%d atveta"},   {'R', 14, "%d atvetov"},   {'R', 5, "%d atvetov"},   {'R', 0, "%d atvetov"},
        {'L', 1, "%d atsakymas"},  {'L', 101, "%d atsakymas"}, {'L', 11, "%d atsakymų"}, {'L', 9, "%d atsakymai"},
        {'L', 19, "%d atsakymų"},  {'L', 10, "%d atsakymų"},  {'L', 0, "%d atsakymų"},  {'T', 22, "%d atsakymai"},
        {'X', 1, "%d answer"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(ChooseText(c.language, answers, c.count), c.text) << c.language << " " << c.count;
}
