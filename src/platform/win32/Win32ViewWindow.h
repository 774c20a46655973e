// The window that hosts the view on Windows: it turns window messages into the
// view's messages (paint, key down, mouse buttons, timer 1) and offers the view
// timer 1, repaints and work after them. It holds no program state of its own.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/Platform.h"
#include "platform/ReplayCanvas.h"
#include "platform/posix/SteadyClock.h"
#include "platform/win32/GdiCanvas.h"
#include "platform/win32/RawInputStamps.h"
#include "view/VeskView.h"

class Win32ViewWindow : public WindowHost, public Clock {
public:
    // Creates the view window as a child of parent.
    Win32ViewWindow(HWND parent, CVeskDoc& doc, SteadyClock& clock, Sound& sound, VolumeNumber& volume,
                    DialogHost& dialogs);
    ~Win32ViewWindow() override;

    HWND Handle() const { return m_hwnd; }
    CVeskView& View() { return *m_view; }
    // Saves the records, once, however the program ends.
    void SaveRecordsOnce();

    // --- WindowHost ---------------------------------------------------------------
    unsigned SetTimer(unsigned id, unsigned intervalMs) override;
    void KillTimer(unsigned id) override;
    void Invalidate(bool erase) override;
    void InvalidateRect(const Rect& rect, bool erase) override;
    void PostTask(std::function<void()> task) override;

    // --- Clock --------------------------------------------------------------------
    // A tick read while painting is taken before the picture is on the screen: the
    // counter is held back by the lag once the frame is composed (see OnPaint).
    std::uint32_t GetTickCount() override;
    TimeOfDay Now() override { return m_clock.Now(); }
    int UtcOffsetMinutes(std::int64_t seconds) override { return m_clock.UtcOffsetMinutes(seconds); }
    const char* DisplayTimeSource() const override { return m_displayMethod; }
    const char* StampSource() const override;
    void Sleep(std::uint32_t ms) override;
    void SleepUntilInput(std::uint32_t ms) override;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void EndPause();
    // A key or button pressed during a pause: ends the one a press may end.
    void InputDuringPause();
    // Runs an input handler with the tick counter at the moment of the press: from
    // raw input where it came, else from the message's time.
    void Answer(unsigned what, const std::function<void()>& deliver);

    HWND m_hwnd = nullptr;
    SteadyClock& m_clock;
    std::unique_ptr<CVeskView> m_view;
    GdiObjects m_objects;
    std::vector<std::function<void()>> m_tasks;
    bool m_saved = false;
    RawInputStamps m_rawInput;
    const char* m_inputSource = "message-time";  // of the latest answer
    bool m_inPaint = false;
    bool m_tickReadInPaint = false;
    std::uint32_t m_paintTick = 0;  // monotonic, when the paint read the tick
    const char* m_displayMethod = "gdi-flush";

    // The pauses after records messages, taken after the paint that asked for them
    // (a window does not show what a paint draws while the paint blocks): the
    // window shows what the paint had drawn when it asked for each pause and takes
    // no input until they end; a timer expiry meanwhile waits for the repaint.
    struct Pause {
        std::size_t steps;  // of the paint's picture, drawn when the pause began
        std::uint32_t ms;
        bool inputEnds = false;
    };
    ReplayCanvas* m_recorder = nullptr;  // of the paint in progress
    std::vector<Pause> m_pauses;
    std::size_t m_pauseIndex = 0;
    bool m_paused = false;
    ReplayCanvas::Picture m_pausedPicture;
    bool m_timerDeferred = false;
    unsigned m_timerId = 0;
};
