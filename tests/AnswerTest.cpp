// Answers as a user gives them: keys and mouse buttons on each square, false
// starts, withheld answers, and repaints in the middle of an attempt.
#include <gtest/gtest.h>

#include "support/Session.h"

namespace {

constexpr unsigned kLeftButton = 0x1000;
constexpr unsigned kRightButton = 0x1001;

void Give(Session& s, unsigned input)
{
    if (input == kLeftButton)
        s.ClickLeft();
    else if (input == kRightButton)
        s.ClickRight();
    else
        s.Press(input);
}

// A session on the task page of mode with the first square (of side) shown.
void OpenOnSquare(Session& s, unsigned modeKey)
{
    s.Open();
    s.Press(modeKey);
    s.WaitOutPause();
}

// From the middle of a wait: answers the square when it comes, ms after it.
void AnswerNextSquare(Session& s, int ms)
{
    for (int i = 0; i < 10000 && !s.Square(); ++i)
        s.Wait(1);
    s.Wait(static_cast<unsigned>(ms + s.doc.m_nSeed % 10));
    s.Press(key::Space);
}

}  // namespace

TEST(Answer, PressAfterTheSquareShowsTheCorrectedReactionAndTheDelay)
{
    Session s(0);  // first attempt: seed 473, wait 4254 ms
    s.Open();
    s.Press(key::A);
    EXPECT_TRUE(s.Shows("Mode A: finding reaction."));
    EXPECT_EQ(s.TextAt("STARTED..."), (Point{30, 170}));

    s.Wait(4253);
    EXPECT_FALSE(s.Square());
    s.Wait(1);
    EXPECT_EQ(s.Square(), kBlack);
    EXPECT_TRUE(s.doc.m_bTiming);

    s.Wait(250);
    s.Press(key::Space);
    EXPECT_FALSE(s.Square());
    EXPECT_EQ(s.TextAt("247 ms REACTION."), (Point{30, 170}));
    EXPECT_EQ(s.TextAt("4254 ms delay."), (Point{30, 190}));
    EXPECT_EQ(s.TextAtPoint(230, 50), "Series: 247, ");
    EXPECT_TRUE(s.sim.TimerRunning()) << "the next wait starts with the result screen";
}

TEST(Answer, KeysAndButtonsAreJudgedAgainstTheSquare)
{
    struct Case {
        unsigned modeKey;
        int side;
        unsigned input;
        Rgb square;
        bool mistake;
    };
    const Case cases[] = {
        // Mode A: everything answers.
        {key::A, 0, key::Enter, kBlack, false},
        {key::A, 1, key::Space, kBlack, false},
        {key::A, 0, key::Digit2, kBlack, false},
        {key::A, 1, kRightButton, kBlack, false},
        // Mode B: red is answered by anything, green by nothing.
        {key::B, 0, key::L, kRed, false},
        {key::B, 0, kLeftButton, kRed, false},
        {key::B, 1, key::S, kGreen, true},
        {key::B, 1, kRightButton, kGreen, true},
        // Mode C, yellow: the left set and the left button.
        {key::C, 0, key::S, kYellow, false},
        {key::C, 0, key::Z, kYellow, false},
        {key::C, 0, key::F4, kYellow, false},
        {key::C, 0, key::F11, kYellow, false},
        {key::C, 0, key::Numpad2, kYellow, false},
        {key::C, 0, key::Numpad5, kYellow, false},
        {key::C, 0, kLeftButton, kYellow, false},
        {key::C, 0, key::L, kYellow, true},
        {key::C, 0, kRightButton, kYellow, true},
        {key::C, 0, key::Enter, kYellow, true},
        {key::C, 0, key::Digit2, kYellow, true},
        // Mode C, blue: the mirror image.
        {key::C, 1, key::L, kBlue, false},
        {key::C, 1, key::X, kBlue, false},
        {key::C, 1, key::Separator, kBlue, false},
        {key::C, 1, key::F9, kBlue, false},
        {key::C, 1, key::Numpad3, kBlue, false},
        {key::C, 1, key::Numpad6, kBlue, false},
        {key::C, 1, kRightButton, kBlue, false},
        {key::C, 1, key::S, kBlue, true},
        {key::C, 1, kLeftButton, kBlue, true},
        {key::C, 1, key::Numpad2, kBlue, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode key " << c.modeKey << " side " << c.side << " input 0x"
                                        << std::hex << c.input);
        Session s(MillisForFirstSide(c.side));
        OpenOnSquare(s, c.modeKey);
        ASSERT_EQ(s.Square(), c.square);
        s.Wait(300);
        const int reaction = 300 - s.doc.m_nSeed % 10;  // the next attempt changes the seed
        Give(s, c.input);
        EXPECT_FALSE(s.doc.m_bTiming);
        if (c.mistake) {
            EXPECT_TRUE(s.Shows("MISTAKE."));
            EXPECT_EQ(s.doc.m_dSeriesCount, 0.0);
        } else {
            EXPECT_TRUE(s.Shows(std::to_string(reaction) + " ms REACTION."));
            EXPECT_EQ(s.doc.m_dSeriesCount, 1.0);
        }
    }
}

TEST(Answer, ModeKeysNeverAnswerAndStartANewSeries)
{
    Session s(MillisForFirstSide(0));
    OpenOnSquare(s, key::A);
    s.Wait(200);
    s.Press(key::B);
    EXPECT_FALSE(s.Square());
    EXPECT_TRUE(s.Shows("Mode B: distinction reaction."));
    EXPECT_TRUE(s.Shows("STARTED..."));
    EXPECT_FALSE(s.Shows("MISTAKE."));
    EXPECT_EQ(s.doc.m_nReaction, 0);
    // The square was left unanswered, so the time still runs until the next key.
    EXPECT_TRUE(s.doc.m_bTiming);
}

TEST(Answer, EscReturnsToTheIndexPageOnlyFromTheTaskPage)
{
    Session s;
    s.Open();
    const int paints = s.sim.paintCount;
    s.Press(key::Esc);
    EXPECT_EQ(s.sim.paintCount, paints) << "Esc on the index page does nothing";
    EXPECT_EQ(s.doc.m_strPage, "explanation");

    s.Press(key::C);
    EXPECT_TRUE(s.sim.TimerRunning());
    s.Press(key::Esc);
    EXPECT_EQ(s.doc.m_strPage, "explanation");
    EXPECT_FALSE(s.sim.TimerRunning());
    EXPECT_FALSE(s.doc.m_bPauseRunning);
    EXPECT_FALSE(s.Shows("Mode C: selective reaction."));
}

TEST(Answer, KeyDuringTheWaitIsAFalseStartReportedWhenTheWaitEnds)
{
    Session s;
    s.Open();
    s.Press(key::A);
    s.AnswerWithReaction(250);
    ASSERT_EQ(s.doc.m_dSeriesCount, 1.0);
    const int paints = s.sim.paintCount;

    s.Wait(500);
    s.Press(key::S);
    EXPECT_EQ(s.sim.paintCount, paints) << "nothing changes on the screen during the wait";
    EXPECT_TRUE(s.doc.m_bFalseStart);

    const int wait = s.doc.m_nDelay;
    s.WaitOutPause();
    EXPECT_FALSE(s.Square());
    EXPECT_EQ(s.TextAt("FALSTART."), (Point{30, 170}));
    EXPECT_TRUE(s.Shows(std::to_string(wait) + " ms delay."));
    EXPECT_EQ(s.doc.m_dSeriesCount, 0.0);
    EXPECT_FALSE(s.Shows("Series: 250, "));
    EXPECT_TRUE(s.doc.m_bPauseRunning) << "the next wait begins at once";
}

TEST(Answer, AKeyHeldOrBouncingAfterTheAnswerIsTheSameAnswer)
{
    // After answering mode A's first square with the first input, what else comes
    // before the next square; then that square is answered.
    struct Case {
        const char* name;
        unsigned answer;
        unsigned second;        // pressed again after the answer ...
        unsigned secondAfterMs;  // ... this long after it (0: not at all)
        unsigned heldMs;        // the answer's key repeats for so long, every 33 ms
        bool falseStart;
    };
    const Case cases[] = {
        {"held 0.3 s", key::Space, 0, 0, 300, false},
        {"held 1 s", key::Space, 0, 0, 1000, false},
        {"held 2.5 s, into the next wait", key::Space, 0, 0, 2500, false},
        {"the same key again after 20 ms", key::Space, key::Space, 20, 0, false},
        {"the left button again after 20 ms", kLeftButton, kLeftButton, 20, 0, false},
        {"the right button again after 49 ms", kRightButton, kRightButton, 49, 0, false},
        {"the same key again after 50 ms", key::Space, key::Space, 50, 0, true},
        {"a double click's second press after 200 ms", kLeftButton, kLeftButton, 200, 0, true},
        {"another key after 20 ms", key::Space, key::S, 20, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session s;
        OpenOnSquare(s, key::A);
        s.Wait(250);
        Give(s, c.answer);
        ASSERT_EQ(s.doc.m_dSeriesCount, 1.0);
        for (unsigned t = 33; t <= c.heldMs; t += 33) {
            s.Wait(33);
            s.Repeat(c.answer);
        }
        if (c.second != 0) {
            s.Wait(c.secondAfterMs);
            Give(s, c.second);
        }
        EXPECT_EQ(s.doc.m_bFalseStart, c.falseStart);
        AnswerNextSquare(s, 230);
        EXPECT_TRUE(s.Shows("230 ms REACTION."));
        EXPECT_EQ(s.doc.m_dSeriesCount, c.falseStart ? 1.0 : 2.0) << "a false start empties the series";
    }
}

TEST(Answer, AKeyHeldThroughTheWaitIsOneFalseStart)
{
    Session s;
    s.Open();
    s.Press(key::A);
    s.AnswerWithReaction(250);
    s.Wait(500);
    s.Press(key::Space);
    // Held past the end of the wait and a second into the next one.
    int repeatsAfter = 10;
    for (int i = 0; i < 100 && repeatsAfter > 0; ++i) {
        s.Wait(100);
        s.Repeat(key::Space);
        if (s.Shows("FALSTART."))
            --repeatsAfter;
    }
    ASSERT_EQ(repeatsAfter, 0);
    EXPECT_FALSE(s.doc.m_bFalseStart) << "the repeats during the next wait are no false start";
    AnswerNextSquare(s, 240);
    EXPECT_TRUE(s.Shows("240 ms REACTION."));
    EXPECT_EQ(s.doc.m_dSeriesCount, 1.0);
}

TEST(Answer, GreenSquareWithheldForOneSecondIsOkAndKeepsTheSeries)
{
    Session s(MillisForFirstSide(1));
    OpenOnSquare(s, key::B);
    ASSERT_EQ(s.Square(), kGreen);
    s.Wait(999);
    EXPECT_EQ(s.Square(), kGreen);
    s.Wait(1);
    EXPECT_TRUE(s.Shows("OK."));
    EXPECT_EQ(s.doc.m_dSeriesCount, 0.0);
    EXPECT_EQ(s.doc.m_nReaction, 0) << "a withheld answer is not counted";
    EXPECT_FALSE(s.doc.m_bTiming);
    EXPECT_TRUE(s.doc.m_bPauseRunning) << "the series goes on";
}

TEST(Answer, RepaintDuringTheWaitDrawsNothing)
{
    Session s;
    s.Open();
    s.Press(key::C);
    s.Wait(100);
    s.Repaint();
    EXPECT_EQ(s.sim.lastPaintOperations, 0);
    EXPECT_TRUE(s.sim.screen.texts.empty());
    EXPECT_TRUE(s.doc.m_bPauseRunning);
}

TEST(Answer, RepaintDuringTheSquareDrawsItAgainAndRestartsTheTime)
{
    Session s(MillisForFirstSide(1));
    OpenOnSquare(s, key::B);
    s.Wait(700);
    s.Repaint();
    EXPECT_EQ(s.Square(), kGreen);
    EXPECT_EQ(s.doc.m_dwStartTick, s.sim.GetTickCount());
    s.Wait(999);
    EXPECT_EQ(s.Square(), kGreen) << "the withhold window starts again with the repaint";
    s.Wait(1);
    EXPECT_TRUE(s.Shows("OK."));
}

TEST(Answer, RepaintOfTheRedSquareRestartsTheTiming)
{
    Session s(MillisForFirstSide(0));
    OpenOnSquare(s, key::B);
    s.Wait(400);
    s.Repaint();
    s.Wait(250);
    const int reaction = 250 - s.doc.m_nSeed % 10;
    s.Press(key::S);
    EXPECT_TRUE(s.Shows(std::to_string(reaction) + " ms REACTION."));
}
