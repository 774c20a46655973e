// Beeps through ALSA's default device; silent where there is none.
#pragma once

#include "platform/Sound.h"

class AlsaSound : public Sound {
public:
    void Beep(unsigned frequencyHz, unsigned durationMs) override;
};
