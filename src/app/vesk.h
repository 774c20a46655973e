// CVeskApp: starts the program with its one document, main window and view.
#pragma once

#include <memory>

#include <wx/app.h>

#include "document/VeskDoc.h"
#include "history/sqlite/SqliteHistory.h"
#include "platform/posix/AlsaSound.h"
#include "platform/VolumeNumber.h"
#include "platform/posix/SteadyClock.h"

class CMainFrame;

class CVeskApp : public wxApp {
public:
    // The name of the program's desktop entry (without .desktop).
    static constexpr const char* kDesktopId = "org.kbr_dorin.kbr_dorin";

    // Opens the display; without one the program says so on stderr and ends.
    bool Initialize(int& argc, wxChar** argv) override;
    bool OnInit() override;
    int OnExit() override;

    // Builds the document and the main window; also used by the GUI tests.
    CMainFrame* CreateMainWindow();
    // SIGTERM, SIGINT and SIGHUP wait (hold) or are taken again; they end the
    // program through its main loop once it handles them.
    static void HoldEndingSignals(bool hold);
    // Something for the window to tell when it opens (notice::k... bits).
    void TellAtStart(unsigned notices) { m_startNotices |= notices; }

private:
    static void CloseOnSignal(int signal);
    static void SaveAtExit();

    SteadyClock m_clock;
    AlsaSound m_sound;
    SystemVolumeNumber m_volume;
    std::unique_ptr<CVeskDoc> m_doc;
    std::unique_ptr<history::SqliteHistory> m_history;
    CMainFrame* m_frame = nullptr;
    unsigned m_startNotices = 0;
};
