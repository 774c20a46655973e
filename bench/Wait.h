// Waiting for what a benchmark watches from outside: a window, a file, a process.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

// Polls cond until it holds (true) or timeout has passed (false).
inline bool WaitUntil(const std::function<bool()>& cond, std::chrono::milliseconds timeout,
                      std::chrono::microseconds poll = std::chrono::milliseconds(2))
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!cond()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(poll);
    }
    return true;
}
