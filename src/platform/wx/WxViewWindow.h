// The window that hosts the view: it turns wx events into the view's messages
// (paint, key down, mouse buttons, timer 1) and offers the view timer and repaints.
// It holds no program state of its own.
#pragma once

#include <memory>

#include <wx/timer.h>
#include <wx/window.h>

#include "platform/WindowHost.h"
#include "platform/posix/SteadyClock.h"
#include "platform/wx/DisplayTime.h"
#include "platform/wx/ReplayCanvas.h"
#include "platform/wx/WxCanvas.h"
#include "view/VeskView.h"

// The virtual-key code of a key event, or 0 for keys the view never sees.
unsigned VirtualKeyOf(int wxKeyCode);

// Milliseconds of the monotonic clock at the steps of the latest timed answer, for
// the timing benchmark: what a naive program would have measured, and what we did.
struct TimingTrace {
    std::uint32_t drawn = 0;      // the tick read in the paint that drew the square
    std::uint32_t displayed = 0;  // the picture had reached the display
    std::uint32_t pressed = 0;    // the stamp of the answering event
    std::uint32_t handled = 0;    // the handler of the answer ran
};

class WxViewWindow : public wxWindow, public WindowHost, public Clock {
public:
    WxViewWindow(wxWindow* parent, CVeskDoc& doc, SteadyClock& clock, Sound& sound, VolumeNumber& volume,
                 DialogHost& dialogs);
    // Saves the records: the window goes when the program ends, however it ends.
    ~WxViewWindow() override;

    // Saves the records now, unless they have been saved already (for an exit that
    // skips the windows' destruction, such as the loss of the display).
    void SaveRecordsOnce();

    CVeskView& View() { return *m_view; }
    void SetPaintProbe(PaintProbe* probe) { m_probe = probe; }

    // --- WindowHost ---------------------------------------------------------------
    unsigned SetTimer(unsigned id, unsigned intervalMs) override;
    void KillTimer(unsigned id) override;
    void Invalidate(bool erase) override;
    void InvalidateRect(const Rect& rect, bool erase) override;

    // --- Clock: the tick counter and the time of day are the machine's; a pause
    // asked for during a paint is taken after it (see Sleep).
    std::uint32_t GetTickCount() override;
    TimeOfDay Now() override { return m_clock.Now(); }
    void Sleep(std::uint32_t ms) override;

    bool Paused() const { return m_paused; }
    const TimingTrace& LastTiming() const { return m_trace; }

private:
    void OnPaint(wxPaintEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnRightDown(wxMouseEvent& event);
    void OnTimer(wxTimerEvent& event);
    void DeliverTimer();
    void EndPause(wxTimerEvent& event);
    void OnDisplayed(std::uint32_t displayed);
    void TraceAnswer(long stamp);

    SteadyClock& m_clock;
    std::unique_ptr<CVeskView> m_view;
    FontCache m_fonts;
    PaintProbe* m_probe = nullptr;
    wxTimer m_timer;
    unsigned m_timerId = 0;
    bool m_paintPending = false;
    bool m_timerDeferred = false;
    bool m_inPaint = false;
    bool m_tickReadInPaint = false;
    std::uint32_t m_paintTick = 0;  // monotonic, when the paint read the tick
    std::unique_ptr<DisplayTime> m_displayTime;
    TimingTrace m_trace;
    bool m_saved = false;

    // The pause after a records message: the window keeps showing the paint that
    // asked for it and takes no input until it ends.
    std::uint32_t m_pauseMs = 0;  // asked for by the paint in progress
    bool m_paused = false;
    ReplayCanvas::Picture m_pausedPicture;
    wxTimer m_pauseTimer;
};
