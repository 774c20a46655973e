// The session document: the whole state of the running program as plain data.
// The view reads and writes these fields directly; nothing here has behaviour.
// Fields stay in this order, each with its initial value.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// What the window may have to tell once (CVeskDoc::m_nNotices), in this order.
namespace notice {
constexpr unsigned kDataFolder = 1;    // the desktop's data folder could not be used
constexpr unsigned kLinkRefused = 2;   // a records file is a link that is not followed
constexpr unsigned kReadOnly = 4;      // the records can be read but not saved here
constexpr unsigned kSaveFailed = 8;    // a save could not be completed
constexpr unsigned kHistoryStopped = 16;  // answers are no longer kept (m_nHistoryProblem says why)
constexpr unsigned kHistoryWaiting = 32;  // the history is held by another program; answers wait
constexpr unsigned kNotAFile = 64;        // a folder (or the like) stands under a records file's name
}  // namespace notice

class CVeskDoc {
public:
    // timeMillis: the milliseconds part (0..999) of the time of day at start,
    // which seeds the random waits of the run.
    explicit CVeskDoc(int timeMillis);

    // --- page, mode, the attempt in progress --------------------------------------
    std::string m_strPage = "explanation";  // "explanation" or "task"
    char m_chMode = ' ';                     // 'a', 'b', 'c'; blank until chosen
    int m_nDelay = 0;                        // first random number, then the wait in ms
    std::uint32_t m_dwStartTick = 0;
    std::uint32_t m_dwStopTick = 0;
    int m_nReaction = 0;  // ms; 0 = nothing measured
    bool m_bTiming = false;
    std::string m_strSide;  // "left" or "right"
    int m_nChanger = 0;     // repeat limit of the side scheduler
    bool m_bMistake = false;
    bool m_bPassive = false;  // the square asks for no answer
    bool m_bFalseStart = false;
    bool m_bPauseRunning = false;
    std::string m_strTimerState;  // "pause" or "pasiv"; never cleared once set
    bool m_bAttemptOver = false;
    int m_nRandom = 0;
    int m_nSide = -1;  // 0 left, 1 right, -1 none yet
    int m_nPrevSide = 0;
    int m_nRepeats = 0;
    int m_nSeed;  // 0..100472
    unsigned m_nAnswerKey = 0;         // the key or button of the latest answer
    std::uint32_t m_dwAnswerTick = 0;  // and when it came

    // --- series and records ---------------------------------------------------------
    double m_dSeriesLength = 10.0;
    double m_dSeriesCount = 0.0;
    double m_dSeriesSum = 0.0;
    double m_dSeriesAverage = 0.0;
    bool m_bSeriesComplete = false;
    bool m_bRecordsLoaded = false;
    char m_szNumber[12] = {};  // scratch for the decimal digits of a reaction time
    char m_chLanguage = 'E';   // 'E', 'R', 'L', 'T'
    std::array<double, 3> m_dTotalRecord = {0.0, 0.0, 0.0};    // per mode; 0.0 = none
    std::array<double, 3> m_dSessionRecord = {0.0, 0.0, 0.0};  // per mode; 0.0 = none
    std::string m_strSeriesLabel = "Series: ";
    std::string m_strSeriesList;
    std::string m_strSeriesList2 = "        ";
    std::string m_strAverageLine;
    std::string m_strVerdictLine;
    std::string m_strDelayLine;

    // --- layout of the task page, pixels ----------------------------------------------
    int m_nLeftX = 30;
    int m_nRightX = 230;
    int m_nSquareY = 30;
    int m_nVerdictY = 170;
    int m_nDelayY = 190;
    int m_nTitleY = 20;
    int m_nSeriesY = 50;
    int m_nSeries2Y = 70;
    int m_nAverageY = 100;
    int m_nSessionRecordY = 120;
    int m_nTotalRecordY = 140;
    int m_nEnterHintY = 170;
    int m_nEscHintY = 190;
    int m_nSquareSize = 90;
    bool m_bFirstPaint = true;

    // --- the records file -------------------------------------------------------------
    std::array<int, 9> m_nValuePos = {};
    std::array<int, 13> m_nCheckPos = {};
    int m_nLanguagePos = 0;
    int m_nFileShift = 0;
    bool m_bRecordsDamaged = false;
    bool m_bIniMissing = false;
    bool m_bBakMissing = false;
    bool m_bRestoredFromBak = false;
    bool m_bRecordsCleared = false;
    char m_chBackupState = ' ';  // ' ', 'b', 'B', 'i', 'I'

    // --- validation -------------------------------------------------------------------
    int m_nHdVol = 0;
    bool m_bHdVolRead = false;
    std::array<int, 3> m_nValidator = {};

    // --- what the window tells the user once, besides the records messages -------------
    unsigned m_nNotices = 0;          // notice::k... bits waiting to be shown
    bool m_bHistoryWaited = false;    // the history was found held by another program (told once)
    int m_nHistoryProblem = 0;        // why the history stopped (history::Problem); 0: it runs
    bool m_bRecordsReadOnly = false;  // the records cannot be saved here; the user knows
};
