#include "platform/posix/AlsaSound.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr unsigned kRate = 48000;

// ALSA reports a missing card on stderr; a machine without sound is no error here.
void Quiet(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void AlsaSound::Beep(unsigned frequencyHz, unsigned durationMs)
{
    if (frequencyHz == 0 || durationMs == 0)
        return;
    snd_lib_error_set_handler(Quiet);

    // Opening without blocking: a device held by someone else must not stall the program.
    snd_pcm_t* pcm = nullptr;
    if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return;
    // A short buffer, so that the tone ends when its samples do.
    if (snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 1, kRate, 1,
                           20000) < 0 ||
        snd_pcm_nonblock(pcm, 0) < 0) {
        snd_pcm_close(pcm);
        return;
    }

    const unsigned frames = kRate * durationMs / 1000;
    std::vector<short> samples(frames);
    const double step = 2.0 * std::numbers::pi * frequencyHz / kRate;
    for (unsigned i = 0; i < frames; ++i) {
        // A short fade at both ends keeps the tone free of clicks.
        const double edge = std::min({1.0, i / 96.0, (frames - i) / 96.0});
        samples[i] = static_cast<short>(12000.0 * edge * std::sin(step * i));
    }
    snd_pcm_sframes_t written = snd_pcm_writei(pcm, samples.data(), frames);
    if (written < 0)
        written = snd_pcm_recover(pcm, static_cast<int>(written), 1);
    if (written >= 0)
        snd_pcm_drain(pcm);
    snd_pcm_close(pcm);
}
