// The services of the window system and the machine that the view relies on.
#pragma once

#include "platform/Clock.h"
#include "platform/DialogHost.h"
#include "platform/Sound.h"
#include "platform/VolumeNumber.h"
#include "platform/WindowHost.h"

namespace history {
class Log;
}

struct Platform {
    Clock& clock;
    WindowHost& window;
    Sound& sound;
    VolumeNumber& volume;
    DialogHost& dialogs;
    history::Log* history = nullptr;  // where answers are kept; none: they are not
};
