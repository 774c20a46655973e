// The linear congruential generator of the program's original runtime library.
// Seeded runs must draw the very same numbers on every machine, which the C
// library's rand() does not promise, so this is our own.
#pragma once

#include <cstdint>

class RuntimeRandom {
public:
    static constexpr int kMax = 32767;

    void Seed(std::uint32_t seed) { m_state = seed; }

    // 0..kMax
    int Next()
    {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int>((m_state >> 16) & 0x7FFFu);
    }

private:
    std::uint32_t m_state = 1;
};
