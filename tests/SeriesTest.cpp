// Series of ten: the lists, the average, the session record, the end of a series.
#include <gtest/gtest.h>

#include "support/Session.h"

namespace {

void PlaySeries(Session& s, const std::vector<int>& reactions)
{
    for (int ms : reactions)
        s.AnswerWithReaction(ms);
}

std::vector<int> Steps(int from, int step, int count = 10)
{
    std::vector<int> v;
    for (int i = 0; i < count; ++i)
        v.push_back(from + i * step);
    return v;
}

}  // namespace

TEST(Series, TenAnswersGiveTheAverageTheRecordTheHintsAndOneBeep)
{
    Session s;
    s.Open();
    s.Press(key::A);
    PlaySeries(s, Steps(200, 10));

    EXPECT_EQ(s.TextAt("245.0 ms - average in series of 10 attempts."), (Point{230, 100}));
    EXPECT_EQ(s.TextAt("245.0 ms - session record."), (Point{230, 120}));
    EXPECT_EQ(s.TextAt("[Enter] - next game."), (Point{230, 170}));
    EXPECT_EQ(s.TextAt("[Esc] - index page."), (Point{230, 190}));
    EXPECT_EQ(s.sim.beeps, (std::vector<BeepCall>{{4000, 20}}));
    EXPECT_EQ(s.doc.m_dSessionRecord[0], 245.0);
    EXPECT_TRUE(s.doc.m_bSeriesComplete);
    EXPECT_FALSE(s.sim.TimerRunning()) << "nothing more is scheduled";

    s.Wait(10000);
    s.Repaint();
    EXPECT_FALSE(s.Square());
    EXPECT_TRUE(s.Shows("245.0 ms - average in series of 10 attempts."));
    EXPECT_EQ(s.sim.beeps.size(), 1u) << "a repaint does not beep again";
}

TEST(Series, ListsAreSplitAfterTheFifthTimeAndEndWithAFullStop)
{
    Session s;
    s.Open();
    s.Press(key::A);
    const auto times = Steps(250, 10);
    PlaySeries(s, {times.begin(), times.begin() + 5});
    EXPECT_EQ(s.TextAtPoint(230, 50), "Series: 250, 260, 270, 280, 290, ");
    EXPECT_EQ(s.TextAtPoint(230, 70), "        ");
    PlaySeries(s, {times[5]});
    EXPECT_EQ(s.TextAtPoint(230, 70), "        300, ");
    PlaySeries(s, {times.begin() + 6, times.end()});
    EXPECT_EQ(s.TextAtPoint(230, 50), "Series: 250, 260, 270, 280, 290, ");
    EXPECT_EQ(s.TextAtPoint(230, 70), "        300, 310, 320, 330, 340.");
    EXPECT_TRUE(s.Shows("295.0 ms - average in series of 10 attempts."));
}

TEST(Series, AverageKeepsTheTenthOfAMillisecond)
{
    Session s;
    s.Open();
    s.Press(key::A);
    PlaySeries(s, {250, 250, 250, 250, 250, 250, 250, 250, 250, 253});
    EXPECT_TRUE(s.Shows("250.3 ms - average in series of 10 attempts."));
}

TEST(Series, SessionRecordTakesOnlyALowerAverage)
{
    struct Case {
        double before;
        double after;
    };
    const Case cases[] = {{0.0, 245.0}, {250.0, 245.0}, {245.0, 245.0}, {240.0, 240.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        Session s;
        s.doc.m_dSessionRecord = {c.before, 111.0, 222.0};
        s.Open();
        s.Press(key::A);
        PlaySeries(s, std::vector<int>(10, 245));
        EXPECT_EQ(s.doc.m_dSessionRecord[0], c.after);
        EXPECT_EQ(s.doc.m_dSessionRecord[1], 111.0);
        EXPECT_EQ(s.doc.m_dSessionRecord[2], 222.0);
    }
}

TEST(Series, MistakeAfterNineAnswersEmptiesTheSeriesAndKeepsTheRecord)
{
    Session s(MillisForFirstSide(0));
    s.doc.m_dSessionRecord[2] = 300.0;
    s.Open();
    s.Press(key::C);
    PlaySeries(s, Steps(200, 10, 9));
    ASSERT_EQ(s.doc.m_dSeriesCount, 9.0);
    s.AnswerWithReaction(250, key::L, key::S);  // the wrong hand
    EXPECT_TRUE(s.Shows("MISTAKE."));
    EXPECT_EQ(s.doc.m_dSeriesCount, 0.0);
    EXPECT_EQ(s.doc.m_dSeriesSum, 0.0);
    EXPECT_FALSE(s.Shows("Series: 200, 210, 220, 230, 240, "));
    EXPECT_TRUE(s.sim.beeps.empty());
    EXPECT_EQ(s.doc.m_dSessionRecord[2], 300.0);
    EXPECT_TRUE(s.Shows("300.0 ms - session record."));
}

TEST(Series, RecordLinesShowTheCurrentModeOnly)
{
    Session s;
    s.doc.m_dTotalRecord = {0.0, 280.5, 0.0};
    s.Open();
    s.Press(key::A);
    PlaySeries(s, std::vector<int>(10, 230));
    EXPECT_TRUE(s.Shows("230.0 ms - session record."));
    EXPECT_FALSE(s.Shows("280.5 ms - total record."));

    s.Press(key::B);
    EXPECT_FALSE(s.Shows("230.0 ms - session record."));
    EXPECT_EQ(s.TextAt("280.5 ms - total record."), (Point{230, 140}));
    EXPECT_EQ(s.doc.m_dSessionRecord[1], 0.0);
}

TEST(Series, TotalRecordStaysAsLoadedDuringTheRun)
{
    Session s;
    s.doc.m_dTotalRecord = {300.0, 0.0, 0.0};
    s.Open();
    s.Press(key::A);
    PlaySeries(s, std::vector<int>(10, 200));
    EXPECT_TRUE(s.Shows("200.0 ms - session record."));
    EXPECT_TRUE(s.Shows("300.0 ms - total record."));
    EXPECT_EQ(s.doc.m_dTotalRecord[0], 300.0);
}

TEST(Series, EnterStartsTheNextSeriesOnlyWhenOneIsComplete)
{
    Session s;
    s.Open();
    s.Press(key::A);
    PlaySeries(s, std::vector<int>(9, 220));
    s.Press(key::Enter);  // during the wait: a false start, not a new series
    s.WaitOutPause();
    EXPECT_TRUE(s.Shows("FALSTART."));

    PlaySeries(s, std::vector<int>(10, 220));
    ASSERT_TRUE(s.doc.m_bSeriesComplete);
    s.Press(key::Enter);
    EXPECT_FALSE(s.doc.m_bSeriesComplete);
    EXPECT_TRUE(s.Shows("Mode A: finding reaction."));
    EXPECT_TRUE(s.Shows("STARTED..."));
    EXPECT_TRUE(s.Shows("220.0 ms - session record."));
    EXPECT_FALSE(s.Shows("220.0 ms - average in series of 10 attempts."));
    EXPECT_FALSE(s.Shows("[Enter] - next game."));
    EXPECT_TRUE(s.sim.TimerRunning());
}

TEST(Series, LanguageChangeRedrawsACompleteSeriesWithoutBeeping)
{
    Session s;
    s.Open();
    s.Press(key::A);
    PlaySeries(s, std::vector<int>(10, 240));
    s.sim.Deliver([&] { s.view.ChooseLanguage('L'); });
    EXPECT_TRUE(s.Shows("Režimas A: radimo reakcija."));
    EXPECT_TRUE(s.Shows("Serija: 240, 240, 240, 240, 240, "));
    EXPECT_TRUE(s.Shows("240.0 ms - vidurkis serijoj iš 10 bandymų."));
    EXPECT_TRUE(s.Shows("240.0 ms - sesijos rekordas."));
    EXPECT_TRUE(s.Shows("[Enter] - sekanti serija."));
    EXPECT_TRUE(s.Shows("[Esc] - indekso puslapis."));
    EXPECT_TRUE(s.Shows("240 ms REAKCIJA."));
    EXPECT_EQ(s.sim.beeps.size(), 1u);
}
