#include "ScreenPixel.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>

std::int32_t ReadScreenPixel(int x, int y)
{
    static Display* display = XOpenDisplay(nullptr);
    if (!display)
        return -1;
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return -1;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return static_cast<std::int32_t>(pixel & 0xFFFFFF);
}

namespace {

Display* InputDisplay()
{
    static Display* display = XOpenDisplay(nullptr);
    return display;
}

// The key that gives keysym without a modifier in the first group, as a person
// presses it; some keysyms sit on a second, modifier-only key too, which gives
// nothing when pressed alone.
KeyCode KeyFor(Display* d, unsigned long keysym)
{
    int low = 0, high = 0;
    XDisplayKeycodes(d, &low, &high);
    for (int code = low; code <= high; ++code)
        if (XkbKeycodeToKeysym(d, static_cast<KeyCode>(code), 0, 0) == keysym)
            return static_cast<KeyCode>(code);
    return XKeysymToKeycode(d, keysym);
}

}  // namespace

bool PressKeysym(unsigned long keysym)
{
    Display* d = InputDisplay();
    const KeyCode code = d ? KeyFor(d, keysym) : 0;
    if (code == 0)
        return false;
    XTestFakeKeyEvent(d, code, True, CurrentTime);
    XTestFakeKeyEvent(d, code, False, CurrentTime);
    XFlush(d);
    return true;
}

bool SetKeysym(unsigned long keysym, bool down)
{
    Display* d = InputDisplay();
    const KeyCode code = d ? KeyFor(d, keysym) : 0;
    if (code == 0)
        return false;
    XTestFakeKeyEvent(d, code, down ? True : False, CurrentTime);
    XFlush(d);
    return true;
}

bool PressKeysymWith(unsigned long modifier, unsigned long keysym)
{
    Display* d = InputDisplay();
    const KeyCode held = d ? KeyFor(d, modifier) : 0;
    const KeyCode code = d ? KeyFor(d, keysym) : 0;
    if (held == 0 || code == 0)
        return false;
    XTestFakeKeyEvent(d, held, True, CurrentTime);
    XTestFakeKeyEvent(d, code, True, CurrentTime);
    XTestFakeKeyEvent(d, code, False, CurrentTime);
    XTestFakeKeyEvent(d, held, False, CurrentTime);
    XFlush(d);
    return true;
}

void LockKeyboardGroup(int group)
{
    if (Display* d = InputDisplay()) {
        XkbLockGroup(d, XkbUseCoreKbd, static_cast<unsigned>(group));
        XFlush(d);
    }
}
