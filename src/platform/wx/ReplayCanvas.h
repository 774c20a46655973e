// A canvas that draws through another and remembers what it drew, so that the
// same picture can be drawn again later.
#pragma once

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
    static void Draw(const Picture& picture, Canvas& target)
    {
        for (const auto& step : picture)
            step(target);
    }

private:
    void Do(std::function<void(Canvas&)> step)
    {
        step(m_target);
        m_picture.push_back(std::move(step));
    }

    Canvas& m_target;
    Picture m_picture;
};
