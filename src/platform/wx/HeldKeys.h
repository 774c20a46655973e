// Keys held down. A key held down repeats: the desktop sends its press again and
// again without a release between (X11 with detectable auto-repeat; on Wayland
// the toolkit repeats it itself), and wx on GTK marks none of them as repeats.
// Every key press and release that reaches any of the program's windows is
// watched here, whichever window has the focus, so that a release that goes to a
// dialog or a menu is not missed.
#pragma once

class wxKeyEvent;

namespace heldkeys {

// Starts the watch; once the display is open. Further calls do nothing.
void Watch();

// True when event (a key-down) is the repeat of a key that was already down.
bool Repeats(const wxKeyEvent& event);

}  // namespace heldkeys
