#include "platform/wx/CompositorClock.h"

#if defined(__WXGTK__) && defined(KBR_WITH_WAYLAND)
#include <gdk/gdk.h>
#include <gdk/gdkwayland.h>
#include <wayland-client.h>

#include <cstring>

#include "platform/posix/SteadyClock.h"
#include "presentation-time-client-protocol.h"

// The compositor's presentation interface, bound on an event queue of the
// program's own, so that GDK's dispatching never sees these objects.
struct FramePresentation::Impl {
    wl_display* display = nullptr;
    wl_event_queue* queue = nullptr;
    wl_display* wrapper = nullptr;
    wl_registry* registry = nullptr;
    wp_presentation* presentation = nullptr;
    std::optional<int> clock;
    wl_surface* surface = nullptr;
    struct wp_presentation_feedback* feedback = nullptr;
    State state = State::Waiting;
    std::int64_t presentedNs = 0;  // on the compositor's clock

    explicit Impl(wl_display* wayland) : display(wayland)
    {
        queue = wl_display_create_queue(display);
        wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
        wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper), queue);
        registry = wl_display_get_registry(wrapper);
        static const wl_registry_listener listener = {&Impl::Global, [](void*, wl_registry*, std::uint32_t) {}};
        wl_registry_add_listener(registry, &listener, this);
        wl_display_roundtrip_queue(display, queue);  // the globals
        if (presentation)
            wl_display_roundtrip_queue(display, queue);  // the presentation clock
    }

    ~Impl()
    {
        if (feedback)
            wp_presentation_feedback_destroy(feedback);
        if (presentation)
            wp_presentation_destroy(presentation);
        wl_registry_destroy(registry);
        wl_proxy_wrapper_destroy(wrapper);
        wl_event_queue_destroy(queue);
    }

    static void Global(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t)
    {
        auto* self = static_cast<Impl*>(data);
        if (std::strcmp(interface, wp_presentation_interface.name) != 0 || self->presentation)
            return;
        static const wp_presentation_listener listener = {
            [](void* data, wp_presentation*, std::uint32_t clock) { static_cast<Impl*>(data)->clock = static_cast<int>(clock); },
        };
        self->presentation = static_cast<wp_presentation*>(wl_registry_bind(registry, name, &wp_presentation_interface, 1));
        wp_presentation_add_listener(self->presentation, &listener, self);
    }

    static void SyncOutput(void*, struct wp_presentation_feedback*, wl_output*) {}

    static void Presented(void* data, struct wp_presentation_feedback* feedback, std::uint32_t secHi, std::uint32_t secLo,
                          std::uint32_t nsec, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t)
    {
        auto* self = static_cast<Impl*>(data);
        const std::uint64_t sec = (static_cast<std::uint64_t>(secHi) << 32) | secLo;
        self->presentedNs = static_cast<std::int64_t>(sec) * 1'000'000'000 + nsec;
        self->state = State::Presented;
        wp_presentation_feedback_destroy(feedback);
        self->feedback = nullptr;
    }

    static void Discarded(void* data, struct wp_presentation_feedback* feedback)
    {
        auto* self = static_cast<Impl*>(data);
        self->state = State::Discarded;
        wp_presentation_feedback_destroy(feedback);
        self->feedback = nullptr;
    }
};

std::optional<int> CompositorClock()
{
    GdkDisplay* display = gdk_display_get_default();
    if (!display || !GDK_IS_WAYLAND_DISPLAY(display))
        return std::nullopt;
    return FramePresentation::Impl(gdk_wayland_display_get_wl_display(display)).clock;
}

std::unique_ptr<FramePresentation> FramePresentation::For(GdkWindow* toplevel)
{
    if (!toplevel || !GDK_IS_WAYLAND_WINDOW(toplevel))
        return nullptr;
    auto impl = std::make_unique<Impl>(gdk_wayland_display_get_wl_display(gdk_window_get_display(toplevel)));
    impl->surface = gdk_wayland_window_get_wl_surface(toplevel);
    if (!impl->presentation || !impl->clock || !impl->surface)
        return nullptr;
    return std::unique_ptr<FramePresentation>(new FramePresentation(std::move(impl)));
}

FramePresentation::FramePresentation(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

FramePresentation::~FramePresentation() = default;

void FramePresentation::Request()
{
    if (m_impl->feedback)
        wp_presentation_feedback_destroy(m_impl->feedback);
    static const wp_presentation_feedback_listener listener = {&Impl::SyncOutput, &Impl::Presented, &Impl::Discarded};
    m_impl->feedback = wp_presentation_feedback(m_impl->presentation, m_impl->surface);
    wp_presentation_feedback_add_listener(m_impl->feedback, &listener, m_impl.get());
    m_impl->state = State::Waiting;
}

FramePresentation::State FramePresentation::Poll(std::uint32_t* presented)
{
    // GDK reads the connection; the events of this queue wait there until dispatched.
    wl_display_dispatch_queue_pending(m_impl->display, m_impl->queue);
    if (m_impl->state == State::Presented && presented) {
        *presented = static_cast<std::uint32_t>((m_impl->presentedNs + NanosBehindMonotonic(*m_impl->clock)) / 1'000'000);
    }
    return m_impl->state;
}
#else
std::optional<int> CompositorClock()
{
    return std::nullopt;
}

struct FramePresentation::Impl {};

std::unique_ptr<FramePresentation> FramePresentation::For(GdkWindow*)
{
    return nullptr;
}

FramePresentation::FramePresentation(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

FramePresentation::~FramePresentation() = default;

void FramePresentation::Request() {}

FramePresentation::State FramePresentation::Poll(std::uint32_t*)
{
    return State::Discarded;
}
#endif
