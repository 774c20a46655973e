#include "platform/win32/GdiCanvas.h"

GdiObjects::~GdiObjects()
{
    for (auto& [key, brush] : m_brushes)
        ::DeleteObject(brush);
    for (auto& [key, font] : m_fonts)
        ::DeleteObject(font);
}

HBRUSH GdiObjects::BrushOf(const Rgb& c)
{
    auto& brush = m_brushes[{c.r, c.g, c.b}];
    if (!brush)
        brush = ::CreateSolidBrush(RGB(c.r, c.g, c.b));
    return brush;
}

HFONT GdiObjects::FontOf(const Font& f)
{
    auto& font = m_fonts[{f.face, f.height, f.width, f.weight}];
    if (!font) {
        // The family tells the font mapper what to take where the face itself is
        // missing: a serif face for "Times", a fixed-pitch one for "Courier New".
        const bool courier = f.face.rfind("Courier", 0) == 0;
        const BYTE family = courier ? FIXED_PITCH | FF_MODERN : VARIABLE_PITCH | FF_ROMAN;
        font = ::CreateFontW(f.height, f.width, 0, 0, f.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, family, Wide(f.face).c_str());
    }
    return font;
}

std::wstring Wide(std::string_view text)
{
    if (text.empty())
        return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string Narrow(const wchar_t* text)
{
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1)
        return {};
    std::string narrow(static_cast<std::size_t>(n - 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow.data(), n, nullptr, nullptr);
    return narrow;
}

// A fresh surface: the default font, a 1-pixel black pen, black text on opaque white.
GdiCanvas::GdiCanvas(HDC dc, HWND window, GdiObjects& objects)
    : m_dc(dc), m_window(window), m_objects(objects), m_saved(::SaveDC(dc))
{
    ::SelectObject(m_dc, ::GetStockObject(BLACK_PEN));
    ::SetTextColor(m_dc, RGB(0, 0, 0));
    ::SetBkColor(m_dc, RGB(255, 255, 255));
    ::SetBkMode(m_dc, OPAQUE);
}

GdiCanvas::~GdiCanvas()
{
    ::RestoreDC(m_dc, m_saved);
}

void GdiCanvas::SelectBrush(const Brush& brush)
{
    ::SelectObject(m_dc, m_objects.BrushOf(brush.color));
}

void GdiCanvas::SelectFont(const Font& font)
{
    ::SelectObject(m_dc, m_objects.FontOf(font));
}

void GdiCanvas::Rectangle(const Rect& r)
{
    ::Rectangle(m_dc, r.left, r.top, r.right, r.bottom);
}

void GdiCanvas::TextOut(int x, int y, std::string_view text)
{
    const std::wstring wide = Wide(text);
    ::TextOutW(m_dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

Size GdiCanvas::GetTextExtent(std::string_view text)
{
    const std::wstring wide = Wide(text);
    SIZE size{};
    ::GetTextExtentPoint32W(m_dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return {size.cx, size.cy};
}

Rect GdiCanvas::GetClientRect()
{
    RECT r{};
    ::GetClientRect(m_window, &r);
    return {r.left, r.top, r.right, r.bottom};
}

void GdiCanvas::ClipTo(const Rect& r)
{
    ::SelectClipRgn(m_dc, nullptr);
    ::IntersectClipRect(m_dc, r.left, r.top, r.right, r.bottom);
}

void GdiCanvas::ResetClip()
{
    ::SelectClipRgn(m_dc, nullptr);
}
