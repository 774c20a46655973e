// The random wait, the side scheduler and the measured time.
#include <gtest/gtest.h>

#include "support/Session.h"

TEST(Scheduling, SeedGivesTheWaitAndTheSide)
{
    Session s;
    s.doc.m_nSeed = 0;
    s.view.ScheduleAttempt();
    EXPECT_EQ(s.doc.m_nSeed, 473);
    EXPECT_EQ(s.doc.m_nDelay, 1583);
    EXPECT_EQ(s.doc.m_nRandom, 12675);
    EXPECT_EQ(s.doc.m_nSide, 1);
    s.view.StartPause();
    EXPECT_EQ(s.doc.m_nDelay, 4254);
    EXPECT_TRUE(s.doc.m_bPauseRunning);
    EXPECT_TRUE(s.sim.TimerRunning());
}

TEST(Scheduling, SeedStepsAndWrapsBelowOneHundredThousand)
{
    Session s;
    s.doc.m_nSeed = 99999;
    s.view.ScheduleAttempt();
    EXPECT_EQ(s.doc.m_nSeed, 100472);
    s.view.ScheduleAttempt();
    EXPECT_EQ(s.doc.m_nSeed, 472);
}

TEST(Scheduling, RepeatRuleLimitsRunsOfOneSide)
{
    // The seed 0 always draws side 1 before the repeat rule.
    struct Case {
        int prevSide, repeats, changer, clockMillis;
        int side, repeatsAfter, changerAfter;
    };
    const Case cases[] = {
        {0, 3, 0, 500, 1, 0, 1},   // a change of side clears the run
        {1, 0, 0, 500, 0, 0, 1},   // first repeat beyond a limit of 0: flipped
        {1, 0, 1, 500, 1, 1, 2},   // within the limit; the limit alternates 1 -> 2
        {1, 1, 2, 500, 1, 2, 1},   // within the limit; 2 -> 1
        {1, 2, 2, 500, 0, 0, 1},   // third repeat beyond 2: flipped
        {1, 2, 1, 150, 1, 3, 1},   // the clock below 200 ms raises the limit to 3
        {1, 3, 1, 50, 1, 4, 1},    // below 80: 4
        {1, 4, 1, 20, 1, 5, 1},    // below 30: 5
        {1, 5, 1, 20, 0, 0, 1},    // and no further
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "prev " << c.prevSide << " repeats " << c.repeats << " changer "
                                        << c.changer << " millis " << c.clockMillis);
        Session s;
        s.sim.startMillis = c.clockMillis;
        s.doc.m_nSeed = 0;
        s.doc.m_nSide = c.prevSide;
        s.doc.m_nRepeats = c.repeats;
        s.doc.m_nChanger = c.changer;
        s.view.ScheduleAttempt();
        EXPECT_EQ(s.doc.m_nPrevSide, c.prevSide);
        EXPECT_EQ(s.doc.m_nSide, c.side);
        EXPECT_EQ(s.doc.m_nRepeats, c.repeatsAfter);
        EXPECT_EQ(s.doc.m_nChanger, c.changerAfter);
    }
}

TEST(Scheduling, MeasuredTimeIsCorrectedByTheSeedsLastDigit)
{
    struct Case {
        std::uint32_t startTick;
        unsigned measured;
        int seed;
        int reaction;
    };
    const Case cases[] = {
        {1000, 11, 479, 11},         // short times stay as measured
        {1000, 12, 9, 3},            // 12 ms and more lose seed mod 10
        {1000, 250, 473, 247},
        {1000, 0, 473, 0},
        {0xFFFFFF00u, 300, 470, 300},  // the tick counter wraps in between
        {0xFFFFFFFFu, 250, 473, 247},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "start " << c.startTick << " measured " << c.measured);
        Session s;
        s.sim.tickBase = c.startTick;
        s.doc.m_nSeed = c.seed;
        s.view.StartTiming();
        s.sim.Advance(c.measured);
        s.view.StopTiming();
        EXPECT_FALSE(s.doc.m_bTiming);
        EXPECT_EQ(s.doc.m_nReaction, c.reaction);
    }
}
