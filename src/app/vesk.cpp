#include "app/vesk.h"
#include "platform/wx/CompositorClock.h"

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <pthread.h>

#include "app/CloseRequests.h"
#include "app/DisplayLoss.h"
#include "app/MainFrm.h"

#include <wx/log.h>

#ifdef __WXGTK__
#include <gdk/gdk.h>
#include <glib-unix.h>
#endif

bool CVeskApp::Initialize(int& argc, wxChar** argv)
{
    bool opened = false;
    if (WaitForTheDisplay(2000)) {
        // The toolkit's own complaint would be shown in a message box, which
        // needs the display that is missing.
        wxLogNull quiet;
        opened = wxApp::Initialize(argc, argv);
    }
    if (!opened) {
        const char* x11 = std::getenv("DISPLAY");
        const char* wayland = std::getenv("WAYLAND_DISPLAY");
        if ((!x11 || !*x11) && (!wayland || !*wayland))
            std::fputs("kbr_dorin: no display: DISPLAY and WAYLAND_DISPLAY are not set; "
                       "the program needs a graphical desktop\n", stderr);
        else
            std::fprintf(stderr, "kbr_dorin: cannot open the display%s%s%s%s; "
                                 "the program needs a graphical desktop\n",
                         wayland && *wayland ? " WAYLAND_DISPLAY=" : "", wayland && *wayland ? wayland : "",
                         x11 && *x11 ? " DISPLAY=" : "", x11 && *x11 ? x11 : "");
    }
    return opened;
}

bool CVeskApp::OnInit()
{
    // The command line was checked before wx started (see Main.cpp). The toolkit
    // takes the user's locale; numbers are still written with a decimal point.
    std::setlocale(LC_NUMERIC, "C");

    // Every ordinary end of the program saves the records the same way: the
    // window is closed and its view saves them as it goes.
#ifdef __WXGTK__
    // Handled in the main loop, where closing a window is safe.
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        g_unix_signal_add(signal, [](gpointer) -> gboolean {
            CloseOnSignal(0);
            return G_SOURCE_CONTINUE;
        }, nullptr);
#endif
    HoldEndingSignals(false);  // held since main(); one that came meanwhile is handled now
    // The loss of the display (the end of the desktop session) ends the program
    // from inside the toolkit, without closing any window.
    CallOnDisplayLoss(&CVeskApp::SaveAtExit);
#ifdef __WXGTK__
    // The desktop finds the window's launcher and icon by its Wayland app id or its
    // X11 class: both are the desktop entry's name.
    // (wx sets the class from the display name of the program for each window.)
    g_set_prgname(kDesktopId);
    SetAppDisplayName(kDesktopId);
#endif

    CMainFrame* frame = CreateMainWindow();
    SetTopWindow(frame);  // the program ends with its main window, whatever else is open
    frame->Show();
    frame->ViewWindow().SetFocus();
    return true;
}

int CVeskApp::OnExit()
{
    m_frame = nullptr;
    return wxApp::OnExit();
}

CMainFrame* CVeskApp::CreateMainWindow()
{
    if (const auto clock = CompositorClock())
        m_clock.SetEventClock(*clock);
    m_doc = std::make_unique<CVeskDoc>(m_clock.Now().millis);
    m_doc->m_nNotices |= m_startNotices;
    // The history is kept beside the records; when it cannot be, the window says
    // why and the game goes on without it.
    m_history = history::StartHistory(history::kDatabaseName, *m_doc);
    m_frame = new CMainFrame(*m_doc, m_clock, m_sound, m_volume, m_history.get());
    WatchCloseRequests(*m_frame, [] { CloseOnSignal(0); });
    m_frame->Bind(wxEVT_DESTROY, [this](wxWindowDestroyEvent& event) {
        if (event.GetEventObject() == m_frame)
            m_frame = nullptr;
        event.Skip();
    });
    return m_frame;
}

void CVeskApp::HoldEndingSignals(bool hold)
{
    sigset_t ending;
    sigemptyset(&ending);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&ending, signal);
    pthread_sigmask(hold ? SIG_BLOCK : SIG_UNBLOCK, &ending, nullptr);
}

void CVeskApp::CloseOnSignal(int)
{
    if (auto* app = static_cast<CVeskApp*>(wxTheApp); app && app->m_frame) {
        app->m_frame->RequestClose();
        wxWakeUpIdle();  // the window is destroyed when the program is next idle
    }
}

void CVeskApp::SaveAtExit()
{
    if (auto* app = static_cast<CVeskApp*>(wxTheApp); app && app->m_frame)
        app->m_frame->ViewWindow().SaveRecordsOnce();
}
