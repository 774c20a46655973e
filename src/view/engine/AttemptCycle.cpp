// The attempt cycle: random wait, stimulus, timing, judging of answers, resets.
// Handlers only change the document and ask for a repaint; the paint schedules and draws.
#include <algorithm>
#include <array>

#include "view/Format.h"
#include "view/Language.h"
#include "view/engine/SeriesLabel.h"
#include "view/VeskView.h"

namespace {

constexpr int kSeedStep = 473;
constexpr int kSeedWrap = 100000;
constexpr int kWaitBase = 2000;
constexpr int kWaitStep = 23;
constexpr unsigned kWithholdWindowMs = 1000;
constexpr unsigned kTimerId = 1;
// A second press of the answering key or button this soon after the answer is the
// same press: a bouncing switch or a finger that touched twice. Nobody presses a key
// twice on purpose within 50 ms (the fastest tapping is some 100 ms per tap), and a
// double click's second press comes later than this and still counts.
constexpr std::uint32_t kBounceMs = 50;

// Keys that answer for the left and for the right hand in mode C. The lower-case
// codes are F4, F11, keypad separator and F9, which answer like their letters.
constexpr std::array<unsigned, 6> kLeftKeys = {0x53, 0x73, 0x5A, 0x7A, 0x62, 0x65};
constexpr std::array<unsigned, 6> kRightKeys = {0x4C, 0x6C, 0x58, 0x78, 0x63, 0x66};

bool IsIn(const std::array<unsigned, 6>& keys, unsigned nChar)
{
    return std::find(keys.begin(), keys.end(), nChar) != keys.end();
}

constexpr LangText kStartText = {"STARTED...", "NATCALI...", "PRADEDAM...", "PRADEDAM..."};
constexpr LangText kReactionText = {"%d ms REACTION.", "%d ms REAKTSQYA.", "%d ms REAKCIJA.", "%d ms REAKCIJA."};
constexpr LangText kWithheldText = {"OK.", "XARACO.", "GERAI.", "GERAI."};
constexpr LangText kMistakeText = {"MISTAKE.", "ACQBKA.", "KLAIDA.", "KLAIDA."};
constexpr LangText kFalseStartText = {"FALSTART.", "FALSTART.", "FALSTARTAS.", "FALSTARTAS."};
constexpr LangText kDelayText = {"%d ms delay.", "%d ms zaderjka.", "%d ms užlaikymas.", "%d ms uzlaikymas."};

}  // namespace

// ---------------------------------------------------------------------------------
// Scheduling and the timer

void CVeskView::ScheduleAttempt()
{
    CVeskDoc& doc = GetDocument();
    if (doc.m_nSeed >= kSeedWrap)
        doc.m_nSeed -= kSeedWrap;
    else
        doc.m_nSeed += kSeedStep;
    m_random.Seed(static_cast<std::uint32_t>(doc.m_nSeed));
    doc.m_nDelay = m_random.Next();
    doc.m_nRandom = m_random.Next();

    doc.m_nPrevSide = doc.m_nSide;
    doc.m_nSide = doc.m_nRandom % 2;
    if (doc.m_nSide == doc.m_nPrevSide)
        ++doc.m_nRepeats;
    else
        doc.m_nRepeats = 0;

    // Now and then the clock lets one side run a little longer.
    const int millis = m_platform.clock.Now().millis;
    if (millis < 200)
        doc.m_nChanger = 3;
    if (millis < 80)
        doc.m_nChanger = 4;
    if (millis < 30)
        doc.m_nChanger = 5;

    if (doc.m_nRepeats > doc.m_nChanger) {
        doc.m_nRepeats = 0;
        doc.m_nSide = doc.m_nSide == 0 ? 1 : 0;
    }
    // The limit alternates between 1 and 2 from attempt to attempt.
    if (doc.m_nChanger > 1)
        doc.m_nChanger = 1;
    else
        ++doc.m_nChanger;
}

void CVeskView::StartPause()
{
    CVeskDoc& doc = GetDocument();
    ResetState("time");
    doc.m_nDelay = kWaitBase + kWaitStep * (doc.m_nDelay % 99);
    doc.m_strTimerState = "pause";
    StartTimer();
}

void CVeskView::StartTimer()
{
    CVeskDoc& doc = GetDocument();
    if (doc.m_strTimerState == "pause") {
        doc.m_bPauseRunning = true;
        m_nTimerId = m_platform.window.SetTimer(kTimerId, static_cast<unsigned>(doc.m_nDelay));
    }
    if (doc.m_strTimerState == "pasiv")
        m_nTimerId = m_platform.window.SetTimer(kTimerId, kWithholdWindowMs);
}

void CVeskView::OnTimer(unsigned /*nIdEvent*/)
{
    ExpireTimer();
}

// Also the way to stop the timer: the state is kept, so a later call repeats its branch.
void CVeskView::ExpireTimer()
{
    CVeskDoc& doc = GetDocument();
    m_platform.window.KillTimer(m_nTimerId);
    if (doc.m_strTimerState == "pause") {
        doc.m_bPauseRunning = false;
        Invalidate();
    }
    if (doc.m_strTimerState == "pasiv") {
        if (doc.m_bTiming)
            m_bAnswerToLog = true;  // the square was let pass
        StopTiming();
        doc.m_bAttemptOver = true;
        Invalidate();
    }
}

// ---------------------------------------------------------------------------------
// Stimulus and timing

void CVeskView::ShowStimulus()
{
    CVeskDoc& doc = GetDocument();
    ClearClientArea();
    if (doc.m_bFalseStart) {
        m_bAnswerToLog = true;
        doc.m_bAttemptOver = true;
        Invalidate();
        return;
    }

    const Rect square{doc.m_nLeftX, doc.m_nSquareY, doc.m_nLeftX + doc.m_nSquareSize,
                      doc.m_nSquareY + doc.m_nSquareSize};
    auto draw = [&](const Brush& brush) {
        m_pDC->SelectBrush(brush);
        m_pDC->Rectangle(square);
        StartTiming();  // right after the square, nothing in between
    };

    switch (doc.m_chMode) {
    case 'a':
        draw(m_brushBlack);
        break;
    case 'b':
        if (doc.m_nSide == 0) {
            doc.m_strSide = "left";
            draw(m_brushRed);
        } else if (doc.m_nSide == 1) {
            doc.m_strSide = "right";
            m_pDC->SelectBrush(m_brushGreen);
            m_pDC->Rectangle(square);
            doc.m_bPassive = true;
            StartTiming();
            doc.m_strTimerState = "pasiv";
            StartTimer();
        }
        break;
    case 'c':
        if (doc.m_nSide == 0) {
            doc.m_strSide = "left";
            draw(m_brushYellow);
        } else if (doc.m_nSide == 1) {
            doc.m_strSide = "right";
            draw(m_brushBlue);
        }
        break;
    default:
        break;
    }
}

void CVeskView::StartTiming()
{
    CVeskDoc& doc = GetDocument();
    doc.m_bTiming = true;
    doc.m_dwStartTick = m_platform.clock.GetTickCount();
}

void CVeskView::StopTiming()
{
    CVeskDoc& doc = GetDocument();
    doc.m_bTiming = false;
    doc.m_dwStopTick = m_platform.clock.GetTickCount();
    // Unsigned difference: a wrap of the tick counter in between still gives the time.
    doc.m_nReaction = static_cast<int>(doc.m_dwStopTick - doc.m_dwStartTick);
    if (doc.m_nReaction >= 12)
        doc.m_nReaction -= doc.m_nSeed % 10;
}

// ---------------------------------------------------------------------------------
// Answers

void CVeskView::OnKeyDown(unsigned nChar, unsigned /*nRepCnt*/, unsigned nFlags)
{
    CVeskDoc& doc = GetDocument();
    // A key held down repeats on its own: only its first press is the user's.
    if (nFlags & vk::kKeyWasDown)
        return;
    if (nChar == doc.m_nAnswerKey && m_platform.clock.GetTickCount() - doc.m_dwAnswerTick < kBounceMs)
        return;

    if (doc.m_bPauseRunning)
        doc.m_bFalseStart = true;

    if (nChar == 0x41 || nChar == 0x42 || nChar == 0x43) {
        ChooseMode(static_cast<char>('a' + (nChar - 0x41)));
    } else {
        if (nChar == vk::kEscape && doc.m_strPage != "explanation")
            ShowIndexPage();
        if (doc.m_bTiming && doc.m_strPage != "explanation") {
            if (doc.m_chMode == 'b' && nChar > 1 && doc.m_strSide == "right")
                doc.m_bMistake = true;
            if (doc.m_chMode == 'c' && doc.m_strSide == "right" && !IsIn(kRightKeys, nChar))
                doc.m_bMistake = true;
            if (doc.m_chMode == 'c' && doc.m_strSide == "left" && !IsIn(kLeftKeys, nChar))
                doc.m_bMistake = true;
            StopTiming();
            doc.m_nAnswerKey = nChar;
            doc.m_dwAnswerTick = doc.m_dwStopTick;
            m_bAnswerToLog = true;
            doc.m_bAttemptOver = true;
            Invalidate();
        }
    }

    if (doc.m_bSeriesComplete && nChar == vk::kEnter) {
        ResetState("results");
        ResetState("button");
        Invalidate();
    }
}

void CVeskView::OnLButtonDown()
{
    OnKeyDown(vk::kZ, 0, 0);
}

void CVeskView::OnRButtonDown()
{
    OnKeyDown(vk::kX, 0, 0);
}

// ---------------------------------------------------------------------------------
// Mode and page

void CVeskView::ChooseMode(char chMode)
{
    ResetState("results");
    ResetState("button");
    GetDocument().m_chMode = chMode;
    Invalidate();
}

void CVeskView::ShowIndexPage()
{
    CVeskDoc& doc = GetDocument();
    doc.m_strPage = "explanation";
    doc.m_bSeriesComplete = false;
    ExpireTimer();
    ResetState("results");
    ResetState("button");
    doc.m_strPage = "explanation";
    Invalidate();
}

void CVeskView::ResetState(std::string_view scope)
{
    CVeskDoc& doc = GetDocument();
    const bool big = scope == "big";
    if (big) {
        doc.m_nDelay = 0;
        doc.m_strSide.clear();
        doc.m_nRandom = 0;
        doc.m_nSide = -1;
        doc.m_nPrevSide = 0;
        doc.m_nRepeats = 0;
        doc.m_bMistake = false;
        doc.m_bPassive = false;
        doc.m_bFalseStart = false;
    }
    if (big || scope == "time") {
        doc.m_dwStartTick = 0;
        doc.m_dwStopTick = 0;
        doc.m_nReaction = 0;
    }
    if (big || scope == "results") {
        doc.m_dSeriesCount = 0.0;
        doc.m_dSeriesSum = 0.0;
        doc.m_strSeriesLabel = ChooseText(doc.m_chLanguage, kSeriesLabel);
        doc.m_strSeriesList.clear();
        doc.m_strSeriesList2 = "        ";
        doc.m_nReaction = 0;
        m_seriesTimes.clear();
    }
    if (scope == "button") {
        doc.m_bSeriesComplete = false;
        ExpireTimer();
        doc.m_bAttemptOver = true;
        doc.m_nReaction = 0;
        doc.m_nDelay = 0;
        doc.m_strPage = "task";
        m_bAnswerToLog = false;  // an attempt ended by leaving it is no answer
    }
}

// ---------------------------------------------------------------------------------
// The verdict and delay lines

void CVeskView::ShowAttemptResult()
{
    CVeskDoc& doc = GetDocument();
    const char lang = doc.m_chLanguage;
    if (doc.m_nReaction == 0 && doc.m_nDelay == 0) {  // a series has just started
        DrawTextAt(doc.m_nLeftX, doc.m_nVerdictY, ChooseText(lang, kStartText));
        return;
    }
    if (!doc.m_bMistake && !doc.m_bFalseStart) {
        if (doc.m_dSeriesCount == 0.0 && doc.m_nReaction == 0)
            return;
        if (!doc.m_bPassive)
            doc.m_strVerdictLine = Format(ChooseText(lang, kReactionText), doc.m_nReaction);
        else
            doc.m_strVerdictLine = ChooseText(lang, kWithheldText);
    }
    // A wrong or early answer empties the running series.
    if (doc.m_bMistake && !doc.m_bFalseStart) {
        doc.m_strVerdictLine = ChooseText(lang, kMistakeText);
        ResetState("results");
    }
    if (doc.m_bFalseStart) {
        doc.m_strVerdictLine = ChooseText(lang, kFalseStartText);
        ResetState("results");
    }
    doc.m_strDelayLine = Format(ChooseText(lang, kDelayText), doc.m_nDelay);
    DrawTextAt(doc.m_nLeftX, doc.m_nVerdictY, doc.m_strVerdictLine);
    DrawTextAt(doc.m_nLeftX, doc.m_nDelayY, doc.m_strDelayLine);
}
