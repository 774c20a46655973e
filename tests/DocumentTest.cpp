// The session document at start, and what each reset scope gives a new value.
#include <gtest/gtest.h>

#include "support/Session.h"

TEST(Document, StartsOnTheIndexPageInEnglishWithTheSeedFromTheClock)
{
    const CVeskDoc doc(637);
    EXPECT_EQ(doc.m_strPage, "explanation");
    EXPECT_EQ(doc.m_chMode, ' ');
    EXPECT_EQ(doc.m_chLanguage, 'E');
    EXPECT_EQ(doc.m_nSeed, 637);
    EXPECT_EQ(doc.m_nSide, -1);
    EXPECT_EQ(doc.m_strSeriesList2, "        ");
    EXPECT_TRUE(doc.m_bFirstPaint);
}

// Every field that some scope touches, set away from its reset value.
static void Dirty(CVeskDoc& doc)
{
    doc.m_nDelay = 3000;
    doc.m_strSide = "left";
    doc.m_nRandom = 77;
    doc.m_nSide = 1;
    doc.m_nPrevSide = 1;
    doc.m_nRepeats = 2;
    doc.m_bMistake = doc.m_bPassive = doc.m_bFalseStart = true;
    doc.m_dwStartTick = 10;
    doc.m_dwStopTick = 20;
    doc.m_nReaction = 250;
    doc.m_dSeriesCount = 3.0;
    doc.m_dSeriesSum = 750.0;
    doc.m_strSeriesLabel = "x";
    doc.m_strSeriesList = "250, ";
    doc.m_strSeriesList2 = "        300, ";
    doc.m_bSeriesComplete = true;
    doc.m_bAttemptOver = false;
    doc.m_strPage = "explanation";
    // Never reset by any scope:
    doc.m_nChanger = 2;
    doc.m_strTimerState = "pause";
    doc.m_bTiming = true;
    doc.m_nSeed = 5000;
    doc.m_dSeriesAverage = 245.0;
    doc.m_dSessionRecord = {245.0, 0.0, 0.0};
    doc.m_dTotalRecord = {240.0, 0.0, 0.0};
}

TEST(Document, ResetScopesClearTheirFieldsAndNothingElse)
{
    struct Case {
        const char* scope;
        bool attempt, time, results, button;
    };
    const Case cases[] = {
        {"big", true, true, true, false},
        {"time", false, true, false, false},
        {"results", false, false, true, false},
        {"button", false, false, false, true},
        {"nonsense", false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scope);
        Session s;
        s.doc.m_chLanguage = 'R';
        Dirty(s.doc);
        s.view.ResetState(c.scope);
        const CVeskDoc& d = s.doc;

        EXPECT_EQ(d.m_strSide.empty(), c.attempt);
        EXPECT_EQ(d.m_nSide == -1, c.attempt);
        EXPECT_EQ(d.m_nRepeats == 0 && d.m_nPrevSide == 0 && d.m_nRandom == 0, c.attempt);
        EXPECT_EQ(!d.m_bMistake && !d.m_bPassive && !d.m_bFalseStart, c.attempt);
        EXPECT_EQ(d.m_nDelay == 0, c.attempt || c.button);
        EXPECT_EQ(d.m_dwStartTick == 0 && d.m_dwStopTick == 0, c.time);
        EXPECT_EQ(d.m_nReaction == 0, c.time || c.results || c.button);
        EXPECT_EQ(d.m_dSeriesCount == 0.0 && d.m_dSeriesSum == 0.0 && d.m_strSeriesList.empty(), c.results);
        EXPECT_EQ(d.m_strSeriesLabel == "Seriya: " && d.m_strSeriesList2 == "        ", c.results);
        EXPECT_EQ(!d.m_bSeriesComplete && d.m_bAttemptOver && d.m_strPage == "task", c.button);

        EXPECT_EQ(d.m_nChanger, 2);
        EXPECT_EQ(d.m_strTimerState, "pause");
        EXPECT_TRUE(d.m_bTiming);
        EXPECT_EQ(d.m_nSeed, 5000);
        EXPECT_EQ(d.m_dSeriesAverage, 245.0);
        EXPECT_EQ(d.m_dSessionRecord[0], 245.0);
        EXPECT_EQ(d.m_dTotalRecord[0], 240.0);
    }
}
