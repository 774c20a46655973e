// When keys and mouse buttons went down, on the program's own clock, from raw input
// read on a thread of its own at high priority: a window message carries only the
// system tick count, which moves in steps of 10 to 16 ms, and a busy window thread
// would take the press's moment for when it got round to it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

class RawInputStamps {
public:
    // What pressed: a virtual-key code, or one of these for the buttons.
    static constexpr unsigned kLeftButton = 0x10001, kRightButton = 0x10002;

    RawInputStamps();
    ~RawInputStamps();
    RawInputStamps(const RawInputStamps&) = delete;
    RawInputStamps& operator=(const RawInputStamps&) = delete;

    // False where the system gives no raw input (then every answer is timed by
    // its message).
    bool Running() const { return m_running; }

    // The moment (milliseconds of the monotonic clock) of the latest press of what
    // that came no earlier than notBefore, taken so that it is not used twice.
    std::optional<std::uint32_t> Take(unsigned what, std::uint32_t notBefore);

private:
    void Run();
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnInput(HRAWINPUT input);

    struct Press {
        unsigned what;
        std::uint32_t at;
    };
    std::mutex m_lock;
    std::deque<Press> m_presses;  // the latest first, a few dozen at most
    std::thread m_thread;
    HWND m_hwnd = nullptr;
    bool m_running = false;
    HANDLE m_ready = nullptr;
};
