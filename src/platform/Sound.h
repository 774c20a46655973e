#pragma once

class Sound {
public:
    virtual ~Sound() = default;

    // A tone of frequencyHz for durationMs; returns no later than the tone ends.
    virtual void Beep(unsigned frequencyHz, unsigned durationMs) = 0;
};
