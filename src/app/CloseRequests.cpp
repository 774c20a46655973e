#include "app/CloseRequests.h"

#include <wx/app.h>
#include <wx/menu.h>
#include <wx/toplevel.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

namespace {

#ifdef __WXGTK__
struct Watch {
    wxTopLevelWindow* window = nullptr;
    std::function<void()> onRequest;
};
Watch g_watch;

// Every event of the display passes here on its way to GTK. GTK drops the request
// to close a window while another widget (an open menu) holds the grab.
void SeeEvent(GdkEvent* event, gpointer)
{
    if (event->type == GDK_DELETE && gtk_grab_get_current() && g_watch.window) {
        GtkWidget* widget = g_watch.window->GetHandle();
        if (widget && event->any.window == gtk_widget_get_window(widget))
            wxTheApp->CallAfter(g_watch.onRequest);
    }
    gtk_main_do_event(event);
}
#endif

}  // namespace

void WatchCloseRequests(wxTopLevelWindow& window, std::function<void()> onRequest)
{
#ifdef __WXGTK__
    g_watch = {&window, std::move(onRequest)};
    gdk_event_handler_set(&SeeEvent, nullptr, nullptr);
    // The toolkit sets its own handler back after some of its loops; a menu that
    // opens puts ours in place again, before any request can be dropped.
    window.Bind(wxEVT_MENU_OPEN, [](wxMenuEvent& event) {
        gdk_event_handler_set(&SeeEvent, nullptr, nullptr);
        event.Skip();
    });
    window.Bind(wxEVT_DESTROY, [&window](wxWindowDestroyEvent& event) {
        if (event.GetEventObject() == &window)
            g_watch = {};
        event.Skip();
    });
#else
    (void)window;
    (void)onRequest;
#endif
}

void CloseOpenMenus(wxMenuBar& bar)
{
#ifdef __WXGTK__
    if (GtkWidget* grab = gtk_grab_get_current(); grab && GTK_IS_MENU_SHELL(grab))
        gtk_menu_shell_cancel(GTK_MENU_SHELL(grab));
    if (GtkWidget* shell = bar.GetHandle(); shell && GTK_IS_MENU_SHELL(shell))
        gtk_menu_shell_cancel(GTK_MENU_SHELL(shell));
#else
    (void)bar;
#endif
}
