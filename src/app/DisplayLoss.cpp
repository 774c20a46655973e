// Kept apart: Xlib's names (Font, Window, ...) clash with the program's own.
#include "app/DisplayLoss.h"

#include <cstdlib>

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

void CallOnDisplayLoss(void (*beforeExit)())
{
    g_beforeExit = beforeExit;
#if defined(__WXGTK__) && defined(GDK_WINDOWING_X11)
    if (GDK_IS_X11_DISPLAY(gdk_display_get_default()))
        XSetIOErrorHandler(&OnIoError);
#endif
}
