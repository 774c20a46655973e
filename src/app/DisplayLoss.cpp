// Kept apart: Xlib's names (Font, Window, ...) clash with the program's own.
#include "app/DisplayLoss.h"

#include <cstdlib>
#include <cstring>

#include <unistd.h>

#ifdef __WXGTK__
#include <gdk/gdk.h>
#ifdef GDK_WINDOWING_X11
#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#endif
#endif

namespace {

void (*g_beforeExit)() = nullptr;

#if defined(__WXGTK__) && defined(GDK_WINDOWING_X11)
int OnIoError(Display*)
{
    if (g_beforeExit)
        g_beforeExit();
    std::_Exit(1);  // Xlib allows no return from here
}
#endif

}  // namespace

bool WaitForTheDisplay(int waitMs)
{
#if defined(__WXGTK__) && defined(GDK_WINDOWING_X11)
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* backend = std::getenv("GDK_BACKEND");
    const bool waylandFirst = wayland && *wayland && !(backend && std::strncmp(backend, "x11", 3) == 0);
    if (!x11 || !*x11 || waylandFirst)
        return true;
    constexpr int kStepMs = 100;
    for (int waited = 0;; waited += kStepMs) {
        if (Display* display = XOpenDisplay(nullptr)) {
            XCloseDisplay(display);
            return true;
        }
        if (waited >= waitMs)
            return false;
        ::usleep(kStepMs * 1000);
    }
#else
    (void)waitMs;
    return true;
#endif
}

void CallOnDisplayLoss(void (*beforeExit)())
{
    g_beforeExit = beforeExit;
#if defined(__WXGTK__) && defined(GDK_WINDOWING_X11)
    if (GDK_IS_X11_DISPLAY(gdk_display_get_default()))
        XSetIOErrorHandler(&OnIoError);
#endif
}
