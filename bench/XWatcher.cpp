#include "XWatcher.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <ctime>

#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include <cstdlib>
#include <string>

#include "gui/ProgramWindow.h"
#include "gui/ScreenPixel.h"

namespace xwatch {

namespace {

Display* Connection()
{
    static Display* display = XOpenDisplay(nullptr);
    return display;
}

}  // namespace

std::int64_t NowMicros()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000 + ts.tv_nsec / 1000;
}

std::int32_t Pixel(int x, int y)
{
    return ReadScreenPixel(x, y);
}

bool AnyBlack(int x, int y, int w, int h)
{
    Display* d = Connection();
    XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, static_cast<unsigned>(w), static_cast<unsigned>(h),
                              AllPlanes, ZPixmap);
    if (!image)
        return false;
    bool found = false;
    for (int row = 0; row < h && !found; ++row)
        for (int col = 0; col < w && !found; ++col)
            found = (XGetPixel(image, col, row) & 0xFFFFFF) == 0;
    XDestroyImage(image);
    return found;
}

std::int64_t PressKey(unsigned long keysym, std::int64_t* handled)
{
    Display* d = Connection();
    const KeyCode code = XKeysymToKeycode(d, keysym);
    XTestFakeKeyEvent(d, code, True, CurrentTime);
    XFlush(d);
    const std::int64_t pressed = NowMicros();
    if (handled) {
        XSync(d, False);  // a round trip: the server handles requests in order
        *handled = NowMicros();
    }
    XTestFakeKeyEvent(d, code, False, CurrentTime);
    XFlush(d);
    return pressed;
}

bool FindView(const char* title, int* x, int* y)
{
    const char* name = std::getenv("DISPLAY");
    const auto area = FindWindowTitled(name ? name : "", title);
    const auto view = area ? FindViewIn(*area) : std::nullopt;
    if (!view)
        return false;
    *x = view->x;
    *y = view->y;
    return true;
}

void Click(int x, int y)
{
    const char* name = std::getenv("DISPLAY");
    ClickAt(name ? name : "", x, y);
}

[[noreturn]] void WatchSquares(int in, int out, int x, int y, unsigned long keysym, unsigned seed)
{
    WatchCount(in, out, x, y, keysym, seed, 0);
    std::_Exit(0);
}

bool WatchCount(int in, int out, int x, int y, unsigned long keysym, unsigned seed, int count)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delayMs(150, 350);
    auto stopped = [&] {
        char c;
        const ssize_t n = ::recv(in, &c, 1, MSG_DONTWAIT);
        return n == 0;  // the other end is gone
    };
    std::int64_t lastMiss = 0;  // when the last poll that found no square was sent
    std::int64_t lastGone = 0;
    auto squareShown = [&] {
        const std::int64_t sent = NowMicros();
        if (Pixel(x, y) == 0x000000)
            return true;
        lastMiss = sent;
        return false;
    };
    for (int watched = 0; count == 0 || watched < count; ++watched) {
        while (!squareShown()) {
            if (stopped())
                return false;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        const std::int64_t onset = NowMicros();  // it appeared after lastMiss
        const std::int64_t due = onset + delayMs(random) * 1000LL;
        while (NowMicros() < due - 1500)
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        while (NowMicros() < due) {
        }
        std::int64_t handled = 0;
        const std::int64_t pressed = PressKey(keysym, &handled);
        const bool sharp = onset - lastMiss <= kSharpUs && handled - pressed <= kSharpUs;
        while (squareShown()) {
            if (stopped())
                return false;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        const Report r{onset, pressed, sharp, lastMiss, lastGone ? onset - lastGone : 0};
        lastGone = lastMiss;
        if (::write(out, &r, sizeof r) != sizeof r)
            return false;
    }
    return true;
}

}  // namespace xwatch
