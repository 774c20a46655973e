// CVeskView: the one view of the program. It owns the drawing resources and runs
// every operation of the program on the session document; it reaches the window
// system only through the platform layer. Handlers change the document and ask for
// a repaint; everything is drawn in OnDraw.
//
// The operations are split by concern:
//   VeskView.cpp                 construction, the paint, shared drawing helpers
//   engine/AttemptCycle.cpp      waits, stimuli, timing, answers, resets
//   engine/SeriesResults.cpp     the result screen, series of 10, session records
//   explanation/ExplanationPage.cpp  the index page
//   commands/Commands.cpp        menu and toolbar commands, their enable rules, the dialogs
//   records/RecordsFile.cpp      the records file: coding, readers and writers
//   records/RecordsRecovery.cpp  records start-up and exit, backup copy, recovery
//   history/AnswerLog.cpp        every answer handed to the history
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/VeskDoc.h"
#include "history/HistoryLog.h"
#include "platform/Canvas.h"
#include "platform/Platform.h"
#include "platform/RuntimeRandom.h"
#include "view/records/RecordsFile.h"

// Virtual-key codes the view acts on.
namespace vk {
constexpr unsigned kEnter = 0x0D;
constexpr unsigned kEscape = 0x1B;
constexpr unsigned kX = 0x58;  // also the right mouse button
constexpr unsigned kZ = 0x5A;  // also the left mouse button
// In the flags of a key-down: the key was already down, so this is its auto-repeat.
constexpr unsigned kKeyWasDown = 0x4000;
}  // namespace vk

// Where a text of the given extent starts so that it stands centred horizontally
// and 20 pixels above the vertical centre of client.
Point CenteredTextOrigin(Size text, Rect client);

class CVeskView {
public:
    CVeskView(CVeskDoc& doc, Platform platform);

    CVeskDoc& GetDocument() const { return m_doc; }

    // --- window messages --------------------------------------------------------------
    void OnDraw(Canvas& dc);
    void OnKeyDown(unsigned nChar, unsigned nRepCnt, unsigned nFlags);
    void OnLButtonDown();
    void OnRButtonDown();
    void OnTimer(unsigned nIdEvent);

    // --- commands -----------------------------------------------------------------
    void ChooseMode(char chMode);
    void ShowIndexPage();
    void ChooseLanguage(char chLanguage);
    void ShowAboutDialog();
    void ShowValidationDialog();
    void ShowHistoryWindow();
    bool ReadVolumeNumber();

    // Runs a command of the menu or toolbar by its number; false for the commands
    // that are the frame's to run (toolbar toggle, exit).
    bool OnCommand(int command);
    // The enable rule of any command: false greys it out.
    bool IsCommandEnabled(int command) const;

    // Enable rules: may the command run now?
    bool CanShowIndexPage() const;
    bool CanChooseMode(char chMode) const;
    bool CanChooseLanguage(char chLanguage) const;

    // --- the attempt cycle ------------------------------------------------------------
    void ScheduleAttempt();
    void StartPause();
    void StartTimer();
    void ExpireTimer();
    void ShowStimulus();
    void StartTiming();
    void StopTiming();
    void ResetState(std::string_view scope);
    void ShowAttemptResult();

    // --- the result screen ------------------------------------------------------------
    void ShowResults();
    void ShowModeTitle();
    void ShowSeriesList();
    void ShowSeriesAverage();
    void ShowRecords();
    void ShowNextGameHint();
    void ShowIndexPageHint();

    // --- the index page -----------------------------------------------------------
    void ShowExplanationPage();

    // --- the records file -----------------------------------------------------------
    void CodeRecordsFile(std::string_view operation);  // "decode" or "encode"
    void ComputeFilePositions();
    void ReadRecordsHeader();
    void WriteRecordsHeader();
    void ReadRecords();
    void WriteRecords();

    // --- records start-up, exit and recovery ------------------------------------------
    void CheckRecordsFiles();
    bool LoadRecords();  // false: a recovery message is on the screen, start over next paint
    void RecoverRecords();
    void RestoreRecordsFile();
    void BackupRecordsFile();
    void SaveRecords();
    void StoreRecords();     // a save within the records lock
    void AgreeBackupCopy();  // at start-up: the backup copy no older than the file
    void OnDestroy();
    void MergeSavedRecords();
    void CheckRecordsWritable();
    void ShowNotices();

    // --- the history of answers -----------------------------------------------------
    // Hands the answer whose result this paint has drawn to the history, and its
    // series when it ended one; they are written after the paint.
    void LogAnswer(bool seriesEnded, bool sessionRecord, bool totalRecord);
    // Writes what was handed over and not yet written; a problem stops the history
    // and, unless the program is ending, is told in the window.
    void WriteHistory(bool ending);
    const char* HistoryProblemText() const;
    const char* HistoryWaitingText() const;

    // --- drawing helpers shared by the pages ----------------------------------------------
    void ClearClientArea();
    Point GetCenteredTextOrigin(std::string_view text);

    // The view's drawing resources, public so that tests can name what was drawn with.
    const Brush m_brushGreen{{0, 255, 0}};
    const Brush m_brushRed{{255, 0, 0}};
    const Brush m_brushYellow{{255, 255, 0}};
    const Brush m_brushBlue{{0, 100, 255}};
    const Brush m_brushWhite{{255, 255, 255}};
    const Brush m_brushBlack{{0, 0, 0}};
    const Font m_fontText{"Times", 16, 7, 700};
    const Font m_fontPage{"Times", 16, 7, 700};
    const Font m_fontNarrow{"Courier New", 14, 7, 500};

private:
    static int ModeIndex(char chMode);
    void Invalidate() { m_platform.window.Invalidate(true); }
    void DrawTextAt(int x, int y, std::string_view text) { m_pDC->TextOut(x, y, text); }
    void ShowRecordsMessage(std::string_view text, int lowerBy);

    // The records file in memory (see RecordsFile.cpp).
    std::string* RecordsFileBytes(bool create);  // null: the file cannot be opened
    void WriteBackRecordsFile();
    void DropRecordsFile();
    void EndRecordsOperation();
    // A start-up or a save: the file is written back only by its closing encode pass.
    class RecordsSequence {
    public:
        explicit RecordsSequence(CVeskView& view);
        ~RecordsSequence();
        RecordsSequence(const RecordsSequence&) = delete;
        RecordsSequence& operator=(const RecordsSequence&) = delete;

    private:
        CVeskView& m_view;
    };

    CVeskDoc& m_doc;
    Platform m_platform;
    RuntimeRandom m_random;   // stands in for the runtime's srand/rand state
    unsigned m_nTimerId = 0;  // returned by SetTimer, handed to KillTimer
    Canvas* m_pDC = nullptr;  // the surface of the paint in progress, else null
    records::Image m_recordsFile;        // the records file while an operation uses it
    bool m_bRecordsSequence = false;     // within a start-up or a save
    bool m_bRecordsWriteFailed = false;  // a write-back of this save failed
    // The history: an attempt has ended and its result is still to be drawn (and
    // logged), and the counted times of the running series.
    bool m_bAnswerToLog = false;
    std::vector<int> m_seriesTimes;
    struct LoggedAnswer {
        history::Answer answer;
        std::optional<history::Series> series;
    };
    std::vector<LoggedAnswer> m_historyQueue;  // handed over, not yet written
};
