#include "platform/wx/CompositorClock.h"

#if defined(__WXGTK__) && defined(KBR_WITH_WAYLAND)
#include <gdk/gdk.h>
#include <gdk/gdkwayland.h>
#include <wayland-client.h>

#include <cstdint>
#include <cstring>

#include "presentation-time-client-protocol.h"

namespace {

struct Probe {
    wp_presentation* presentation = nullptr;
    std::optional<int> clock;
};

void Global(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t)
{
    auto* probe = static_cast<Probe*>(data);
    if (std::strcmp(interface, wp_presentation_interface.name) == 0 && !probe->presentation) {
        static const wp_presentation_listener listener = {
            [](void* data, wp_presentation*, std::uint32_t clock) { static_cast<Probe*>(data)->clock = static_cast<int>(clock); },
        };
        probe->presentation = static_cast<wp_presentation*>(wl_registry_bind(registry, name, &wp_presentation_interface, 1));
        wp_presentation_add_listener(probe->presentation, &listener, probe);
    }
}

void GlobalRemoved(void*, wl_registry*, std::uint32_t) {}

}  // namespace

std::optional<int> CompositorClock()
{
    GdkDisplay* display = gdk_display_get_default();
    if (!display || !GDK_IS_WAYLAND_DISPLAY(display))
        return std::nullopt;
    wl_display* wayland = gdk_wayland_display_get_wl_display(display);
    // A queue of its own, so that GDK's dispatching never sees these objects.
    wl_event_queue* queue = wl_display_create_queue(wayland);
    auto* wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(wayland));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper), queue);
    wl_registry* registry = wl_display_get_registry(wrapper);
    static const wl_registry_listener listener = {Global, GlobalRemoved};
    Probe probe;
    wl_registry_add_listener(registry, &listener, &probe);
    wl_display_roundtrip_queue(wayland, queue);  // the globals
    if (probe.presentation)
        wl_display_roundtrip_queue(wayland, queue);  // the presentation clock
    if (probe.presentation)
        wp_presentation_destroy(probe.presentation);
    wl_registry_destroy(registry);
    wl_proxy_wrapper_destroy(wrapper);
    wl_event_queue_destroy(queue);
    return probe.clock;
}
#else
std::optional<int> CompositorClock()
{
    return std::nullopt;
}
#endif
