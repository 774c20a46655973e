// A simulated window system for tests: a manual millisecond clock, timer 1
// delivered as a message, a message queue that serves a pending repaint before a
// pending timer expiry, and a screen made of recorded paints. Nothing ever sleeps.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "dialogs/ValidationLogic.h"
#include "history/HistoryWindow.h"
#include "platform/Clock.h"
#include "platform/DialogHost.h"
#include "platform/Sound.h"
#include "platform/VolumeNumber.h"
#include "platform/WindowHost.h"
#include "support/RecordingCanvas.h"

struct BeepCall {
    unsigned frequencyHz;
    unsigned durationMs;
    friend bool operator==(const BeepCall&, const BeepCall&) = default;
};

class SimPlatform : public Clock, public WindowHost, public Sound, public VolumeNumber, public DialogHost {
public:
    // --- Clock --------------------------------------------------------------------------
    std::uint32_t GetTickCount() override { return static_cast<std::uint32_t>(tickBase + m_elapsed); }
    TimeOfDay Now() override;
    void Sleep(std::uint32_t ms) override;
    // Recorded among the sleeps too; no press comes in the simulation, so it runs out.
    void SleepUntilInput(std::uint32_t ms) override
    {
        ++sleepsUntilInput;
        Sleep(ms);
    }

    // --- WindowHost -------------------------------------------------------------------
    unsigned SetTimer(unsigned id, unsigned intervalMs) override;
    void KillTimer(unsigned id) override;
    void Invalidate(bool erase) override;
    void InvalidateRect(const Rect& rect, bool erase) override;
    void PostTask(std::function<void()> task) override { m_tasks.push_back(std::move(task)); }

    // --- Sound ------------------------------------------------------------------------
    void Beep(unsigned frequencyHz, unsigned durationMs) override { beeps.push_back({frequencyHz, durationMs}); }

    // --- VolumeNumber, DialogHost ---------------------------------------------------------
    std::optional<std::uint32_t> Read() override { return volumeNumber; }
    void ShowAboutDialog() override { ++aboutShown; }
    void ShowValidationDialog(ValidationLogic& form) override
    {
        if (onValidationDialog)
            onValidationDialog(form);
        validationShown.push_back(form);
    }
    void ShowHistoryWindow(const history::WindowRequest& request) override { historyShown.push_back(request); }

    // --- the message loop -------------------------------------------------------------
    // Serves pending repaints, then lets ms of simulated time pass, delivering each
    // timer expiry when due (and the repaints it causes) on the way.
    void Advance(std::uint32_t ms);
    // Runs a user's input handler, then the repaints it caused.
    void Deliver(const std::function<void()>& handler);
    // Serves pending repaints and the tasks posted meanwhile; false when more than
    // limit paints did not settle it.
    bool PumpPaints(int limit = 1000);

    bool TimerRunning() const { return m_timer.has_value(); }
    std::uint64_t Elapsed() const { return m_elapsed; }

    // Wired by the test to the view.
    std::function<void(Canvas&)> onPaint;
    std::function<void(unsigned)> onTimer;
    // What the user does in the Validation dialog while it is open.
    std::function<void(ValidationLogic&)> onValidationDialog;

    // Settings
    std::uint32_t tickBase = 1'000'000;  // the tick counter at simulated time 0
    int startMillis = 500;                // milliseconds part of the time of day at time 0
    std::int64_t startSeconds = 1'700'000'000;  // seconds of the time of day at time 0
    Rect client{0, 0, 552, 263};
    std::optional<std::uint32_t> volumeNumber = 0x5A3C0F1Eu;
    bool holdTasks = false;  // posted tasks wait (the program never gets idle)

    // Observations
    RecordingCanvas screen{client};      // what the window shows now
    std::vector<BeepCall> beeps;
    std::vector<std::uint32_t> sleeps;
    int sleepsUntilInput = 0;  // of them, those a press would end
    int aboutShown = 0;
    std::vector<ValidationLogic> validationShown;  // the form as each dialog closed
    std::vector<history::WindowRequest> historyShown;
    int paintCount = 0;
    int lastPaintOperations = 0;  // what the latest paint drew

private:
    struct Timer {
        unsigned id;
        unsigned interval;
        std::uint64_t due;
    };
    std::uint64_t m_elapsed = 0;
    std::optional<Timer> m_timer;  // the program uses timer 1 only
    bool m_paintPending = false;
    bool m_erasePending = false;
    std::vector<std::function<void()>> m_tasks;
};
