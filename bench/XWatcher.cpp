#include "XWatcher.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <ctime>

namespace xwatch {

namespace {

Display* Connection()
{
    static Display* display = XOpenDisplay(nullptr);
    return display;
}

}  // namespace

std::int64_t NowMicros()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000 + ts.tv_nsec / 1000;
}

std::int32_t Pixel(int x, int y)
{
    Display* d = Connection();
    if (!d)
        return -1;
    XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return -1;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return static_cast<std::int32_t>(pixel & 0xFFFFFF);
}

std::int64_t PressKey(unsigned long keysym)
{
    Display* d = Connection();
    const KeyCode code = XKeysymToKeycode(d, keysym);
    XTestFakeKeyEvent(d, code, True, CurrentTime);
    XFlush(d);
    const std::int64_t pressed = NowMicros();
    XTestFakeKeyEvent(d, code, False, CurrentTime);
    XFlush(d);
    return pressed;
}

}  // namespace xwatch
