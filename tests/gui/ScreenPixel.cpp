#include "ScreenPixel.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

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
