// The text a window shows, as a screen reader is to be told it: every text drawn
// and not since drawn over, read top to bottom and left to right, and what the
// latest paint added to it (a verdict, a notice), which is what changed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Canvas.h"

class ScreenText {
public:
    // A paint begins: what it adds is told apart from what was there.
    void BeginPaint() { m_added.clear(); }
    // The pixels of rect are cleared (a fill, an erased background): the texts
    // that lay in them are gone.
    void Erase(const Rect& rect);
    void Add(const Rect& where, std::string_view text);

    // Lines top to bottom, the texts of a line left to right.
    std::string Read() const;
    // The texts the latest paint added, in the same order; empty when it added none.
    std::string Added() const;

private:
    struct Shown {
        Rect where;
        std::string text;
    };
    static std::string Join(std::vector<Shown> texts);

    std::vector<Shown> m_texts;
    std::vector<Shown> m_added;
};

// A canvas that draws through another and keeps a ScreenText of what it drew.
class ScreenTextCanvas : public Canvas {
public:
    ScreenTextCanvas(Canvas& target, ScreenText& text) : m_target(target), m_text(text) {}

    void SelectBrush(const Brush& brush) override { m_target.SelectBrush(brush); }
    void SelectFont(const Font& font) override { m_target.SelectFont(font); }
    void Rectangle(const Rect& rect) override
    {
        m_text.Erase(rect);
        m_target.Rectangle(rect);
    }
    void TextOut(int x, int y, std::string_view text) override
    {
        const Size extent = m_target.GetTextExtent(text);
        m_text.Add({x, y, x + extent.cx, y + extent.cy}, text);
        m_target.TextOut(x, y, text);
    }
    Size GetTextExtent(std::string_view text) override { return m_target.GetTextExtent(text); }
    Rect GetClientRect() override { return m_target.GetClientRect(); }
    void ClipTo(const Rect& rect) override { m_target.ClipTo(rect); }
    void ResetClip() override { m_target.ResetClip(); }

private:
    Canvas& m_target;
    ScreenText& m_text;
};
