// Kept apart: Xlib's names (Font, Window, ...) clash with the program's own.
#include "platform/wx/DisplayTime.h"

#include <wx/window.h>

#include <optional>

#include "platform/posix/SteadyClock.h"
#include "platform/wx/CompositorClock.h"

#ifdef __WXGTK__
#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <X11/Xatom.h>
#include <gdk/gdkx.h>
#endif
#endif

namespace {

// How long a frame's presentation is waited for before the end of its drawing
// stands for it, and how often it is looked for meanwhile.
constexpr int kPresentationWaitMs = 250;
constexpr int kPresentationPollMs = 1;

}  // namespace

struct DisplayTime::Impl {
    wxWindow& window;
    Handler handler;
#ifdef __WXGTK__
    GdkWindow* toplevel = nullptr;  // where the marker property is changed (X11)
    bool x11 = false;
    unsigned long marker = 0;       // the property's atom
    unsigned long frameTimingsAtom = 0;
    std::uint32_t wmDone = 0;       // when the window manager's word on the awaited frame came; 0: not yet
    std::unique_ptr<FramePresentation> presentation = nullptr;  // Wayland, where the compositor tells
    GdkFrameClock* frameClock = nullptr;
    gulong afterPaint = 0;
    bool frameWanted = false;
    gint64 frame = -1;              // the frame whose presentation is awaited
    std::uint32_t drawn = 0;        // when its drawing was done
    guint poll = 0;
    int polls = 0;

    // The toplevel's X window and the marker; false before the window is realized.
    bool Prepare()
    {
        if (toplevel)
            return true;
        GtkWidget* widget = window.GetHandle();
        GdkWindow* top = widget ? gtk_widget_get_window(gtk_widget_get_toplevel(widget)) : nullptr;
        if (!top)
            return false;
        toplevel = top;
#ifdef GDK_WINDOWING_X11
        if (GDK_IS_X11_WINDOW(top)) {
            x11 = true;
            gdk_window_set_events(top, static_cast<GdkEventMask>(gdk_window_get_events(top) | GDK_PROPERTY_CHANGE_MASK));
            marker = XInternAtom(GDK_WINDOW_XDISPLAY(top), "_KBR_DORIN_DISPLAYED", False);
            frameTimingsAtom = XInternAtom(GDK_WINDOW_XDISPLAY(top), "_NET_WM_FRAME_TIMINGS", False);
            gdk_window_add_filter(top, &Impl::Filter, this);
        }
#endif
        presentation = FramePresentation::For(top);
        frameClock = gtk_widget_get_frame_clock(widget);
        if (frameClock)
            afterPaint = g_signal_connect_swapped(frameClock, "after-paint", G_CALLBACK(&Impl::FrameDone), this);
        return true;
    }

#ifdef GDK_WINDOWING_X11
    // A compositing window manager that says when each frame was drawn and shown
    // (mutter does) puts the picture on the screen later than the server has it:
    // its word is the one to go by. Without one, the server's own time is.
    bool WindowManagerReportsFrames() const
    {
        return gdk_x11_screen_supports_net_wm_hint(gdk_window_get_screen(toplevel),
                                                   gdk_atom_intern_static_string("_NET_WM_FRAME_DRAWN"));
    }

    static GdkFilterReturn Filter(GdkXEvent* raw, GdkEvent*, gpointer data)
    {
        auto* self = static_cast<Impl*>(data);
        const XEvent* event = static_cast<const XEvent*>(raw);
        // The window manager's word that a frame is out, sent as soon as its copy
        // of it is done; it carries a presentation time only where the screen
        // reports one. GTK reads it too, so it is passed on.
        if (event->type == ClientMessage && event->xclient.message_type == self->frameTimingsAtom) {
            if (self->poll && !self->wmDone)
                self->wmDone = SteadyClock::MonotonicMillis();
            return GDK_FILTER_CONTINUE;
        }
        if (event->type != PropertyNotify || event->xproperty.atom != self->marker)
            return GDK_FILTER_CONTINUE;
        self->handler(static_cast<std::uint32_t>(event->xproperty.time), "x11-property");
        return GDK_FILTER_REMOVE;
    }
#endif

    static void FrameDone(Impl* self)
    {
        if (!self->frameWanted)
            return;
        self->frameWanted = false;
        gdk_display_sync(gdk_window_get_display(self->toplevel));
        self->drawn = SteadyClock::MonotonicMillis();
        if (!self->x11 && !self->presentation) {
            self->handler(self->drawn, "drawn");
            return;
        }
        self->frame = gdk_frame_clock_get_frame_counter(self->frameClock);
        self->polls = 0;
        self->wmDone = 0;
        if (!self->poll)
            self->poll = g_timeout_add(kPresentationPollMs, &Impl::LookForPresentation, self);
    }

    // The compositor's word on the frame comes some time after it.
    static gboolean LookForPresentation(gpointer data)
    {
        auto* self = static_cast<Impl*>(data);
        bool known = false;
        std::optional<std::uint32_t> shown;
        const char* method = "drawn";
        if (self->presentation) {
            std::uint32_t at = 0;
            const FramePresentation::State state = self->presentation->Poll(&at);
            known = state != FramePresentation::State::Waiting;
            if (state == FramePresentation::State::Presented) {
                shown = at;
                method = "wayland-presentation";
            }
        } else {
            // An X11 window manager's report, which GTK keeps with the frame's
            // timings, its times turned into those of the monotonic clock.
            GdkFrameTimings* timings = gdk_frame_clock_get_timings(self->frameClock, self->frame);
            known = timings && gdk_frame_timings_get_complete(timings);
            const gint64 presented = known ? gdk_frame_timings_get_presentation_time(timings) : 0;
            if (presented > 0) {
                shown = static_cast<std::uint32_t>(presented / 1000);
                method = "wm-presentation";
            } else if (self->wmDone) {
                shown = self->wmDone;
                method = "wm-frame-drawn";
            }
        }
        if (!known && ++self->polls * kPresentationPollMs < kPresentationWaitMs)
            return G_SOURCE_CONTINUE;
        self->poll = 0;
        self->handler(shown.value_or(self->drawn), shown ? method : "drawn");
        return G_SOURCE_REMOVE;
    }
#endif
};

DisplayTime::DisplayTime(wxWindow& window, Handler handler) : m_impl(new Impl{window, std::move(handler)})
{
}

DisplayTime::~DisplayTime()
{
#ifdef __WXGTK__
#ifdef GDK_WINDOWING_X11
    if (m_impl->x11)
        gdk_window_remove_filter(m_impl->toplevel, &Impl::Filter, m_impl.get());
#endif
    if (m_impl->frameClock)
        g_signal_handler_disconnect(m_impl->frameClock, m_impl->afterPaint);
    if (m_impl->poll)
        g_source_remove(m_impl->poll);
#endif
}

void DisplayTime::AfterPaint()
{
#ifdef __WXGTK__
    if (!m_impl->Prepare()) {
        m_impl->handler(SteadyClock::MonotonicMillis(), "clock");
        return;
    }
#ifdef GDK_WINDOWING_X11
    if (m_impl->x11 && !m_impl->WindowManagerReportsFrames()) {
        // Queued, not flushed: it leaves with the frame's drawing, right behind it.
        XChangeProperty(GDK_WINDOW_XDISPLAY(m_impl->toplevel), GDK_WINDOW_XID(m_impl->toplevel), m_impl->marker,
                        XA_INTEGER, 32, PropModeAppend, nullptr, 0);
        return;
    }
#endif
    if (m_impl->presentation)
        m_impl->presentation->Request();  // the frame this paint is drawn into
    m_impl->frameWanted = true;
#else
    m_impl->handler(SteadyClock::MonotonicMillis(), "clock");
#endif
}
