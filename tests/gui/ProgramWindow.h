// The real program's window, seen from another process on the same X server: found
// by the process that owns it, read back from the screen, sent a close request as
// a window manager would. Kept apart: Xlib's names clash with the program's own.
#pragma once

#include <cstdint>

#include <sys/types.h>

#include <optional>
#include <string>
#include <utility>

struct ProgramWindow {
    std::string display;
    unsigned long id;
    int x, y, width, height;  // on the screen
};

// The viewable top-level window of process pid on display whose title contains
// title ("" matches any, menus included).
std::optional<ProgramWindow> FindProgramWindow(const std::string& display, pid_t pid, const std::string& title);
// How many top-level windows of process pid are on the screen (menus count).
int ViewableWindows(const std::string& display, pid_t pid);

// What the main window's view shows, told from its dark pixels: the index page
// fills the view from its top, a records message is one line about its middle.
enum class ViewShows { Nothing, Message, Page };
ViewShows WhatTheViewShows(const ProgramWindow& window);

// WM_DELETE_WINDOW, as a window manager sends when the user (or a logout) closes it.
void SendCloseRequest(const ProgramWindow& window);

// Where the window manager's frame around the window begins on the screen, read
// from the borders the manager tells (_NET_FRAME_EXTENTS); nullopt without them.
std::optional<std::pair<int, int>> FrameOrigin(const ProgramWindow& window);

// Whether a window manager has taken charge of the display.
bool WindowManagerRuns(const std::string& display);

// A top-level window of any process whose title contains title (a nested
// compositor's output window, say).
std::optional<ProgramWindow> FindWindowTitled(const std::string& display, const std::string& title);

// The program's view as it shows inside area: the white rectangle in its 1-pixel
// black frame, found by the frame's top left corner (a black line of at least 400
// pixels with a black edge going down). Its x, y, width and height are those of
// the frame's inside. The pointer must not stand on the frame.
std::optional<ProgramWindow> FindViewIn(const ProgramWindow& area);

// Whether the pixel at (x, y) of the screen is black.
bool IsBlackAt(const std::string& display, int x, int y);
// How many pixels of the screen's rectangle have the colour 0xRRGGBB.
int PixelsOfColour(const std::string& display, int x, int y, int width, int height, std::uint32_t rgb);

// The pointer moved to (x, y) of the screen, and a click of the left button there,
// through XTest.
void MovePointer(const std::string& display, int x, int y);
void ClickAt(const std::string& display, int x, int y);

// The window's X11 class (WM_CLASS): its instance name and its class name.
std::pair<std::string, std::string> ClassOf(const ProgramWindow& window);
