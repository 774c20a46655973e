// A user's session against the simulated platform: the document, the view and the
// window wired together, with the actions a person takes and what the screen shows.
#pragma once

#include <optional>
#include <string>

#include "document/VeskDoc.h"
#include "support/SimPlatform.h"
#include "view/VeskView.h"

namespace key {
constexpr unsigned A = 0x41, B = 0x42, C = 0x43, L = 0x4C, S = 0x53, X = 0x58, Z = 0x5A;
constexpr unsigned Enter = 0x0D, Esc = 0x1B, Space = 0x20, Digit2 = 0x32;
constexpr unsigned Numpad2 = 0x62, Numpad3 = 0x63, Numpad5 = 0x65, Numpad6 = 0x66;
constexpr unsigned F4 = 0x73, F9 = 0x78, F11 = 0x7A, Separator = 0x6C;
}  // namespace key

class Session {
public:
    explicit Session(int timeMillis = 0, history::Log* history = nullptr)
        : doc(timeMillis), view(doc, {sim, sim, sim, sim, sim, history})
    {
        sim.onPaint = [this](Canvas& dc) { view.OnDraw(dc); };
        sim.onTimer = [this](unsigned id) { view.OnTimer(id); };
    }

    // The window appears: the first paint is blank and asks for the second.
    void Open()
    {
        sim.Invalidate(true);
        sim.PumpPaints();
    }

    void Press(unsigned code) { sim.Deliver([&] { view.OnKeyDown(code, 1, 0); }); }
    // The key-down the system repeats while a key is held.
    void Repeat(unsigned code) { sim.Deliver([&] { view.OnKeyDown(code, 1, vk::kKeyWasDown); }); }
    void ClickLeft() { sim.Deliver([&] { view.OnLButtonDown(); }); }
    void ClickRight() { sim.Deliver([&] { view.OnRButtonDown(); }); }
    void Wait(unsigned ms) { sim.Advance(ms); }
    void Repaint()
    {
        sim.Invalidate(true);
        sim.PumpPaints();
    }

    // Lets the random wait run out; the square (or the false start) follows.
    void WaitOutPause() { sim.Advance(static_cast<unsigned>(doc.m_nDelay)); }

    // Answers the shown square so that the corrected reaction time is exactly ms
    // (the program subtracts the last digit of the seed from times of 12 ms and more).
    void AnswerWithReaction(int ms, unsigned left = key::S, unsigned right = key::L)
    {
        WaitOutPause();
        const int measured = ms >= 12 ? ms + doc.m_nSeed % 10 : ms;
        Wait(static_cast<unsigned>(measured));
        Press(doc.m_nSide == 1 ? right : left);
    }

    // --- what the screen shows --------------------------------------------------------
    bool Shows(const std::string& text) const { return TextAt(text).has_value(); }
    std::optional<Point> TextAt(const std::string& text) const
    {
        for (const auto& t : sim.screen.texts)
            if (t.text == text)
                return Point{t.x, t.y};
        return std::nullopt;
    }
    std::string TextAtPoint(int x, int y) const
    {
        for (const auto& t : sim.screen.texts)
            if (t.x == x && t.y == y)
                return t.text;
        return {};
    }
    // The stimulus square, when one is shown.
    std::optional<Rgb> Square() const
    {
        for (const auto& r : sim.screen.rects)
            if (r.rect == Rect{30, 30, 120, 120})
                return r.fill;
        return std::nullopt;
    }

    SimPlatform sim;
    CVeskDoc doc;
    CVeskView view;
};

// The milliseconds part of the start time that makes the first attempt of a run
// show the given side (the seed of that attempt is the start milliseconds + 473).
inline int MillisForFirstSide(int side)
{
    for (int millis = 0; millis < 1000; ++millis) {
        RuntimeRandom random;
        random.Seed(static_cast<std::uint32_t>(millis + 473));
        random.Next();
        if (random.Next() % 2 == side)
            return millis;
    }
    return -1;
}

inline constexpr Rgb kBlack{0, 0, 0}, kRed{255, 0, 0}, kGreen{0, 255, 0}, kYellow{255, 255, 0}, kBlue{0, 100, 255};
