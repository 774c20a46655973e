#include "platform/wx/HeldKeys.h"

#include <cstdint>
#include <set>

#include <wx/event.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

namespace heldkeys {

#ifdef __WXGTK__
namespace {

std::set<std::uint16_t> g_down;  // hardware key codes
// The last press seen, and whether its key was already down.
struct Press {
    std::uint16_t code = 0;
    std::uint32_t time = 0;
    bool repeat = false;
} g_last;

// A key event goes to the top-level window first (which passes it on to its
// focused child), so each one is seen here once, before any of wx's handlers.
// (On Wayland the repeats carry the time of the press itself.)
gboolean OnKey(GSignalInvocationHint*, guint count, const GValue* params, gpointer)
{
    if (count < 2 || !GTK_IS_WINDOW(g_value_get_object(&params[0])))
        return TRUE;
    const auto* key = static_cast<const GdkEventKey*>(g_value_get_boxed(&params[1]));
    if (!key)
        return TRUE;
    if (key->type == GDK_KEY_PRESS) {
        g_last = {key->hardware_keycode, key->time, !g_down.insert(key->hardware_keycode).second};
    } else if (key->type == GDK_KEY_RELEASE) {
        g_down.erase(key->hardware_keycode);
    }
    return TRUE;
}

// A key let go while another program had the keyboard sends its release there:
// when the keyboard comes back, no key is taken to be down.
gboolean OnFocusIn(GSignalInvocationHint*, guint count, const GValue* params, gpointer)
{
    if (count >= 1 && GTK_IS_WINDOW(g_value_get_object(&params[0])))
        g_down.clear();
    return TRUE;
}

}  // namespace

void Watch()
{
    static bool watching = false;
    if (watching)
        return;
    watching = true;
    const GType widget = GTK_TYPE_WIDGET;
    g_type_class_ref(widget);
    for (const char* name : {"key-press-event", "key-release-event"})
        g_signal_add_emission_hook(g_signal_lookup(name, widget), 0, OnKey, nullptr, nullptr);
    g_signal_add_emission_hook(g_signal_lookup("focus-in-event", widget), 0, OnFocusIn, nullptr, nullptr);
}

bool Repeats(const wxKeyEvent& event)
{
    // (wxKeyEvent::IsAutoRepeat() is not set by wx on GTK: it holds whatever it
    // was made with, and so says a fresh press repeats now and then.)
    return g_last.repeat && g_last.code == event.GetRawKeyFlags() && g_last.time == event.GetTimestamp();
}
#else
void Watch() {}
bool Repeats(const wxKeyEvent& event) { return event.IsAutoRepeat(); }
#endif

}  // namespace heldkeys
