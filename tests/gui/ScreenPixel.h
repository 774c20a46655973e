// Reads a pixel of the X screen. Kept apart because Xlib's names (Font, Window, ...)
// clash with the program's own.
#pragma once

#include <cstdint>

// The 0xRRGGBB colour of the screen pixel at (x, y), or -1 when it cannot be read.
std::int32_t ReadScreenPixel(int x, int y);

// Presses and releases the key that carries keysym, through XTest. False when no
// key of the keyboard carries it.
bool PressKeysym(unsigned long keysym);
// Presses (down) or releases the key that carries keysym, through XTest.
bool SetKeysym(unsigned long keysym, bool down);
// The same while the key of modifier (a keysym too, such as XK_Alt_L) is held.
bool PressKeysymWith(unsigned long modifier, unsigned long keysym);
// Makes group (0 the first) of the keyboard layout the active one.
void LockKeyboardGroup(int group);
