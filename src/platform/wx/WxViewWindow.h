// The window that hosts the view: it turns wx events into the view's messages
// (paint, key down, mouse buttons, timer 1) and offers the view timer and repaints.
// It holds no program state of its own.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <wx/event.h>
#include <wx/timer.h>
#include <wx/window.h>

#include "platform/WindowHost.h"
#include "platform/posix/SteadyClock.h"
#include "platform/wx/DisplayTime.h"
#include "platform/ReplayCanvas.h"
#include "platform/ScreenText.h"
#include "platform/wx/WxCanvas.h"
#include "view/VeskView.h"

// The virtual-key code of a key by its wx code, or 0 for a key without one.
unsigned VirtualKeyOf(int wxKeyCode);
// The letter of a key by its place in the layout's Latin group, or 0.
unsigned LatinLetterOf(const wxKeyEvent& event);
// The code a key without a name of its own is given (no code the view acts on).
constexpr unsigned kUnnamedKey = 0xFF;

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
                 DialogHost& dialogs, history::Log* history);
    // Saves the records: the window goes when the program ends, however it ends.
    ~WxViewWindow() override;

    // Saves the records now, unless they have been saved already (also for an exit
    // that skips the windows' destruction, such as the loss of the display). True
    // when the view has something to tell before the window goes (a failed save).
    bool SaveRecordsOnce();
    // Lets the view show what it has to tell, each for its pause, then calls then.
    void ShowNoticesThen(std::function<void()> then);

    CVeskView& View() { return *m_view; }
    void SetPaintProbe(PaintProbe* probe) { m_probe = probe; }

    // --- WindowHost ---------------------------------------------------------------
    unsigned SetTimer(unsigned id, unsigned intervalMs) override;
    void KillTimer(unsigned id) override;
    void Invalidate(bool erase) override;
    void InvalidateRect(const Rect& rect, bool erase) override;
    void PostTask(std::function<void()> task) override;

    // --- Clock: the tick counter and the time of day are the machine's; a pause
    // asked for during a paint is taken after it (see Sleep).
    std::uint32_t GetTickCount() override;
    TimeOfDay Now() override { return m_clock.Now(); }
    int UtcOffsetMinutes(std::int64_t seconds) override { return m_clock.UtcOffsetMinutes(seconds); }
    const char* DisplayTimeSource() const override { return m_displayMethod; }
    const char* StampSource() const override { return m_clock.StampSource(); }
    void Sleep(std::uint32_t ms) override;
    void SleepUntilInput(std::uint32_t ms) override;

    bool Paused() const { return m_paused; }
    const TimingTrace& LastTiming() const { return m_trace; }

private:
    void OnPaint(wxPaintEvent& event);
    // Tells screen readers what the window shows, when that changed.
    void TellWhatIsShown();
    void OnKeyDown(wxKeyEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnRightDown(wxMouseEvent& event);
    void OnTimer(wxTimerEvent& event);
    void DeliverTimer();
    void EndPause(wxTimerEvent& event);
    void NextPause();  // the pause that runs is over
    // A key or button pressed during a pause: ends the one a press may end.
    void InputDuringPause();
    void OnDisplayed(std::uint32_t displayed, const char* method);
    void Answer(long stamp, std::function<void()> deliver);
    void ReleaseAnswers();
    void TraceAnswer(long stamp);

    SteadyClock& m_clock;
    std::unique_ptr<CVeskView> m_view;
    FontCache m_fonts;
    PaintProbe* m_probe = nullptr;
    wxTimer m_timer;
    unsigned m_timerId = 0;
    bool m_paintPending = false;
    bool m_timerDeferred = false;
    unsigned m_timerGeneration = 0;  // counts the settings of the timer
    bool m_inPaint = false;
    bool m_tickReadInPaint = false;
    std::uint32_t m_paintTick = 0;  // monotonic, when the paint read the tick
    std::unique_ptr<DisplayTime> m_displayTime;
    const char* m_displayMethod = "drawn";  // how the latest square's display time was learnt
    // Answers that came before the display time of the paint that read the tick:
    // they are measured from it, so they wait for it (a busy desktop may report a
    // frame after the press), as a timer expiry behind them does.
    bool m_displayAwaited = false;
    std::vector<std::function<void()>> m_heldAnswers;
    wxTimer m_holdLimit;  // a report that never comes holds no answer for long
    TimingTrace m_trace;
    bool m_saved = false;
    ScreenText m_screenText;        // what the window shows, as text
    std::vector<Rect> m_erased;     // cleared before the next paint
    std::string m_toldShown;        // what screen readers were last told

    // The pauses after records messages: the window shows what the paint had drawn
    // when it asked for each pause, and takes no input until they end.
    struct Pause {
        std::size_t steps;  // of the paint's picture, drawn when the pause began
        std::uint32_t ms;
        bool inputEnds = false;
    };
    ReplayCanvas* m_recorder = nullptr;  // of the paint in progress
    std::vector<Pause> m_pauses;         // asked for by the paint, in order
    std::size_t m_pauseIndex = 0;        // the one that runs
    bool m_paused = false;
    ReplayCanvas::Picture m_pausedPicture;
    wxTimer m_pauseTimer;
    std::function<void()> m_afterPauses;  // instead of a repaint
};
