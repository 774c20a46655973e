// A canvas that draws through another and remembers what it drew, so that the
// same picture, or its beginning, can be drawn again later. Once held it only
// remembers: what follows is drawn when it is replayed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Canvas.h"

class ReplayCanvas : public Canvas {
public:
    explicit ReplayCanvas(Canvas& target) : m_target(target) {}

    void SelectBrush(const Brush& brush) override { Do([brush](Canvas& c) { c.SelectBrush(brush); }); }
    void SelectFont(const Font& font) override { Do([font](Canvas& c) { c.SelectFont(font); }); }
    void Rectangle(const Rect& rect) override { Do([rect](Canvas& c) { c.Rectangle(rect); }); }
    void TextOut(int x, int y, std::string_view text) override
    {
        Do([x, y, s = std::string(text)](Canvas& c) { c.TextOut(x, y, s); });
    }
    Size GetTextExtent(std::string_view text) override { return m_target.GetTextExtent(text); }
    Rect GetClientRect() override { return m_target.GetClientRect(); }
    void ClipTo(const Rect& rect) override { Do([rect](Canvas& c) { c.ClipTo(rect); }); }
    void ResetClip() override { Do([](Canvas& c) { c.ResetClip(); }); }

    using Picture = std::vector<std::function<void(Canvas&)>>;
    Picture TakePicture() { return std::move(m_picture); }
    // How many steps have been drawn so far: the picture up to now.
    std::size_t Steps() const { return m_picture.size(); }
    void Hold() { m_held = true; }

    // Draws the first `steps` steps of picture (all of them by default).
    static void Draw(const Picture& picture, Canvas& target, std::size_t steps = SIZE_MAX)
    {
        for (std::size_t i = 0; i < picture.size() && i < steps; ++i)
            picture[i](target);
    }

private:
    void Do(std::function<void(Canvas&)> step)
    {
        if (!m_held)
            step(m_target);
        m_picture.push_back(std::move(step));
    }

    Canvas& m_target;
    Picture m_picture;
    bool m_held = false;
};
