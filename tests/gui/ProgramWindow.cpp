#include "ProgramWindow.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

Display* Open(const std::string& name)
{
    static std::map<std::string, Display*> open;
    Display*& display = open[name];
    if (!display)
        display = XOpenDisplay(name.c_str());
    return display;
}

std::optional<unsigned long> PidOf(Display* d, Window w)
{
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::optional<unsigned long> pid;
    if (XGetWindowProperty(d, w, XInternAtom(d, "_NET_WM_PID", False), 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success && data && count == 1 && format == 32)
        pid = *reinterpret_cast<unsigned long*>(data);
    if (data)
        XFree(data);
    return pid;
}

std::string TitleOf(Display* d, Window w)
{
    char* name = nullptr;
    std::string title;
    if (XFetchName(d, w, &name) && name)
        title = name;
    if (name)
        XFree(name);
    return title;
}

// Every viewable top-level window of the process whose title contains title.
std::vector<ProgramWindow> WindowsOf(const std::string& display, pid_t pid, const std::string& title)
{
    std::vector<ProgramWindow> found;
    Display* d = Open(display);
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    if (!d || !XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count))
        return found;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(d, children[i], &a) || a.map_state != IsViewable)
            continue;
        // Menus carry no process id of their own; they belong to the window they
        // stand over (transient), and are told apart by having no title.
        const auto owner = PidOf(d, children[i]);
        if ((owner && *owner != static_cast<unsigned long>(pid)) || TitleOf(d, children[i]).find(title) == std::string::npos)
            continue;
        if (!owner && !title.empty())
            continue;
        int x = 0, y = 0;
        Window child;
        XTranslateCoordinates(d, children[i], root, 0, 0, &x, &y, &child);
        found.push_back(ProgramWindow{display, children[i], x, y, a.width, a.height});
    }
    if (children)
        XFree(children);
    return found;
}

}  // namespace

std::optional<ProgramWindow> FindProgramWindow(const std::string& display, pid_t pid, const std::string& title)
{
    auto all = WindowsOf(display, pid, title);
    if (all.empty())
        return std::nullopt;
    return all.front();
}

int ViewableWindows(const std::string& display, pid_t pid)
{
    return static_cast<int>(WindowsOf(display, pid, "").size());
}

ViewShows WhatTheViewShows(const ProgramWindow& w)
{
    Display* d = Open(w.display);
    XImage* image = XGetImage(d, DefaultRootWindow(d), w.x, w.y, w.width, w.height, AllPlanes, ZPixmap);
    if (!image)
        return ViewShows::Nothing;
    // Rows by their share of the window's height: the page's first lines, and the
    // line 20 pixels above the middle of the view where a message stands. Counted:
    // the dark pixels of text, and the white of the view's background (a window
    // not painted yet shows neither).
    struct Band {
        int dark = 0, white = 0, all = 0;
        bool Text(int least) const { return dark > least && white > all / 2; }
        bool Blank() const { return dark < 100 && white > all * 9 / 10; }
    };
    auto band = [&](double from, double to) {
        Band b;
        for (int y = static_cast<int>(from * w.height); y < static_cast<int>(to * w.height); ++y)
            for (int x = 10; x < w.width - 10; ++x, ++b.all) {
                const unsigned long p = XGetPixel(image, x, y);
                const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, bl = p & 0xFF;
                b.dark += r < 60 && g < 60 && bl < 60;
                b.white += r > 240 && g > 240 && bl > 240;
            }
        return b;
    };
    const Band top = band(0.20, 0.35), middle = band(0.45, 0.60);
    XDestroyImage(image);
    if (top.Text(400) && middle.Text(400))
        return ViewShows::Page;
    return top.Blank() && middle.Text(200) ? ViewShows::Message : ViewShows::Nothing;
}

void SendCloseRequest(const ProgramWindow& w)
{
    Display* d = Open(w.display);
    XEvent e;
    std::memset(&e, 0, sizeof e);
    e.xclient.type = ClientMessage;
    e.xclient.window = w.id;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, w.id, False, NoEventMask, &e);
    XFlush(d);
}
