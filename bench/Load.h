// The machine kept busy for a benchmark's loaded condition.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

// Two processes that spin until killed, one per core of a two-core machine.
inline std::vector<pid_t> LoadBothCores()
{
    std::vector<pid_t> busy;
    for (int i = 0; i < 2; ++i) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            volatile unsigned long spin = 0;
            while (true)
                spin = spin + 1;
        }
        busy.push_back(pid);
    }
    return busy;
}

inline void EndLoad(const std::vector<pid_t>& busy)
{
    for (pid_t pid : busy) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
}
