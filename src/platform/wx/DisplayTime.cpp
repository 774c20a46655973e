// Kept apart: Xlib's names (Font, Window, ...) clash with the program's own.
#include "platform/wx/DisplayTime.h"

#include <wx/window.h>

#include "platform/posix/SteadyClock.h"

#ifdef __WXGTK__
#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif
#endif

std::uint32_t DisplayServerTime(wxWindow& window)
{
#ifdef __WXGTK__
    GtkWidget* widget = window.GetHandle();
    GdkWindow* toplevel = widget ? gtk_widget_get_window(gtk_widget_get_toplevel(widget)) : nullptr;
#ifdef GDK_WINDOWING_X11
    if (toplevel && GDK_IS_X11_WINDOW(toplevel)) {
        // A property change is answered with the server's time of handling it,
        // and the server handles requests in order: after the drawing.
        gdk_window_set_events(toplevel,
                              static_cast<GdkEventMask>(gdk_window_get_events(toplevel) | GDK_PROPERTY_CHANGE_MASK));
        return gdk_x11_get_server_time(toplevel);
    }
#endif
    if (toplevel)
        gdk_display_sync(gdk_window_get_display(toplevel));
#endif
    return SteadyClock::MonotonicMillis();
}
