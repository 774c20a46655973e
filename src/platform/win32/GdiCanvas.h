// The drawing surface of one paint over a GDI device context.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "platform/Canvas.h"

// The GDI objects of the view, made once per run and released at its end.
class GdiObjects {
public:
    GdiObjects() = default;
    ~GdiObjects();
    GdiObjects(const GdiObjects&) = delete;
    GdiObjects& operator=(const GdiObjects&) = delete;

    HBRUSH BrushOf(const Rgb& colour);
    // CreateFont with the cell height, the average width and the weight asked for.
    HFONT FontOf(const Font& font);

private:
    std::map<std::tuple<int, int, int>, HBRUSH> m_brushes;
    std::map<std::tuple<std::string, int, int, int>, HFONT> m_fonts;
};

// UTF-8 to the system's UTF-16 and back.
std::wstring Wide(std::string_view text);
std::string Narrow(const wchar_t* text);

class GdiCanvas : public Canvas {
public:
    GdiCanvas(HDC dc, HWND window, GdiObjects& objects);
    ~GdiCanvas() override;

    void SelectBrush(const Brush& brush) override;
    void SelectFont(const Font& font) override;
    void Rectangle(const Rect& rect) override;
    void TextOut(int x, int y, std::string_view text) override;
    Size GetTextExtent(std::string_view text) override;
    Rect GetClientRect() override;
    void ClipTo(const Rect& rect) override;
    void ResetClip() override;

private:
    HDC m_dc;
    HWND m_window;
    GdiObjects& m_objects;
    int m_saved;
};
