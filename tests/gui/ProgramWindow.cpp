#include "ProgramWindow.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
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
    if (!title.empty())
        return title;
    // Only the UTF-8 title of newer clients.
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(d, w, XInternAtom(d, "_NET_WM_NAME", False), 0, 256, False,
                           XInternAtom(d, "UTF8_STRING", False), &type, &format, &count, &after, &data) == Success &&
        data && format == 8)
        title.assign(reinterpret_cast<char*>(data), count);
    if (data)
        XFree(data);
    return title;
}

std::vector<Window> ChildrenOf(Display* d, Window w)
{
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    std::vector<Window> all;
    if (XQueryTree(d, w, &root, &parent, &children, &count))
        all.assign(children, children + count);
    if (children)
        XFree(children);
    return all;
}

// Every viewable top-level window of the process whose title contains title. A
// window manager puts each window into a frame of its own: the frames' children
// count as top-level too.
std::vector<ProgramWindow> WindowsOf(const std::string& display, pid_t pid, const std::string& title)
{
    std::vector<ProgramWindow> found;
    Display* d = Open(display);
    if (!d)
        return found;
    auto look = [&](Window w) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(d, w, &a) || a.map_state != IsViewable)
            return false;
        // Menus carry no process id of their own; they belong to the window they
        // stand over (transient), and are told apart by having no title.
        const auto owner = PidOf(d, w);
        if ((owner && *owner != static_cast<unsigned long>(pid)) || TitleOf(d, w).find(title) == std::string::npos)
            return false;
        if (!owner && !title.empty())
            return false;
        int x = 0, y = 0;
        Window child;
        XTranslateCoordinates(d, w, DefaultRootWindow(d), 0, 0, &x, &y, &child);
        found.push_back(ProgramWindow{display, w, x, y, a.width, a.height});
        return true;
    };
    for (Window top : ChildrenOf(d, DefaultRootWindow(d)))
        if (!look(top) && !PidOf(d, top))
            for (Window inner : ChildrenOf(d, top))
                look(inner);
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

std::optional<std::pair<int, int>> FrameOrigin(const ProgramWindow& w)
{
    Display* d = Open(w.display);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::optional<std::pair<int, int>> origin;
    if (XGetWindowProperty(d, w.id, XInternAtom(d, "_NET_FRAME_EXTENTS", False), 0, 4, False, XA_CARDINAL, &type,
                           &format, &count, &after, &data) == Success && data && count == 4 && format == 32) {
        const auto* extents = reinterpret_cast<unsigned long*>(data);  // left, right, top, bottom
        origin = std::make_pair(w.x - static_cast<int>(extents[0]), w.y - static_cast<int>(extents[2]));
    }
    if (data)
        XFree(data);
    return origin;
}

bool WindowManagerRuns(const std::string& display)
{
    Display* d = Open(display);
    if (!d)
        return false;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::optional<Window> check;
    if (XGetWindowProperty(d, DefaultRootWindow(d), XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False), 0, 1, False,
                           XA_WINDOW, &type, &format, &count, &after, &data) == Success && data && count == 1)
        check = *reinterpret_cast<Window*>(data);
    if (data)
        XFree(data);
    // A manager that has ended may leave the property behind; its window goes with it.
    if (!check)
        return false;
    for (Window w : ChildrenOf(d, DefaultRootWindow(d)))
        if (w == *check)
            return true;
    return false;
}

std::optional<ProgramWindow> FindWindowTitled(const std::string& display, const std::string& title)
{
    Display* d = Open(display);
    if (!d)
        return std::nullopt;
    for (Window w : ChildrenOf(d, DefaultRootWindow(d))) {
        XWindowAttributes a;
        if (XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable && TitleOf(d, w).find(title) != std::string::npos)
            return ProgramWindow{display, w, a.x, a.y, a.width, a.height};
    }
    return std::nullopt;
}

namespace {

bool Black(unsigned long p)
{
    return ((p >> 16) & 0xFF) < 24 && ((p >> 8) & 0xFF) < 24 && (p & 0xFF) < 24;
}

}  // namespace

std::optional<ProgramWindow> FindViewIn(const ProgramWindow& area)
{
    Display* d = Open(area.display);
    XImage* image = XGetImage(d, DefaultRootWindow(d), area.x, area.y, area.width, area.height, AllPlanes, ZPixmap);
    if (!image)
        return std::nullopt;
    auto black = [&](int x, int y) { return Black(XGetPixel(image, x, y)); };
    // A compositor draws the pointer into the picture: a line may be broken by it
    // (up to 24 pixels), an edge may lose a few of its pixels.
    constexpr int kPointer = 24;
    // Where a black run from (x, y) to the right or downwards ends (one past it).
    auto runEnd = [&](int x, int y, bool across) {
        int end = across ? x : y, gap = 0;
        for (int i = end; i < (across ? area.width : area.height) && gap <= kPointer; ++i) {
            if (across ? black(i, y) : black(x, i)) {
                end = i + 1;
                gap = 0;
            } else {
                ++gap;
            }
        }
        return end;
    };
    auto lineEnd = [&](int x, int y) { return runEnd(x, y, true); };
    auto edgeBottom = [&](int x, int y) { return runEnd(x, y, false); };
    // The topmost black line of 400 pixels or more with a black edge going down
    // from one of its ends: the frame's top line (its bottom line has no edge below).
    std::optional<ProgramWindow> view;
    for (int y = 0; y + 2 < area.height && !view; ++y)
        for (int x = 0; x < area.width && !view; ++x) {
            if (!black(x, y))
                continue;
            const int end = lineEnd(x, y);
            if (end - x >= 400) {
                const int bottom = std::max(edgeBottom(x, y), edgeBottom(end - 1, y));
                if (bottom - y > 50)
                    view = ProgramWindow{area.display, area.id, area.x + x + 1, area.y + y + 1, end - x - 2,
                                         bottom - y - 2};
            }
            x = end;
        }
    XDestroyImage(image);
    return view;
}

bool IsBlackAt(const std::string& display, int x, int y)
{
    Display* d = Open(display);
    XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return false;
    const bool black = Black(XGetPixel(image, 0, 0));
    XDestroyImage(image);
    return black;
}

int PixelsOfColour(const std::string& display, int x, int y, int width, int height, std::uint32_t rgb)
{
    Display* d = Open(display);
    XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!image)
        return 0;
    int found = 0;
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i)
            found += (XGetPixel(image, i, j) & 0xFFFFFF) == rgb;
    XDestroyImage(image);
    return found;
}

void MovePointer(const std::string& display, int x, int y)
{
    Display* d = Open(display);
    XTestFakeMotionEvent(d, DefaultScreen(d), x, y, CurrentTime);
    XSync(d, False);
}

void ClickAt(const std::string& display, int x, int y)
{
    Display* d = Open(display);
    MovePointer(display, x, y);
    XTestFakeButtonEvent(d, 1, True, CurrentTime);
    XTestFakeButtonEvent(d, 1, False, CurrentTime);
    XSync(d, False);
}

std::pair<std::string, std::string> ClassOf(const ProgramWindow& w)
{
    Display* d = Open(w.display);
    XClassHint hint{};
    std::pair<std::string, std::string> names;
    if (XGetClassHint(d, w.id, &hint)) {
        names = {hint.res_name ? hint.res_name : "", hint.res_class ? hint.res_class : ""};
        XFree(hint.res_name);
        XFree(hint.res_class);
    }
    return names;
}
