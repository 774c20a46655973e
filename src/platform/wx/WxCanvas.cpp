#include "platform/wx/WxCanvas.h"

#include <wx/brush.h>
#include <wx/fontutil.h>
#include <wx/pen.h>

#ifdef __WXGTK__
#include <pango/pango.h>
#endif

namespace {

wxString FromUtf8(std::string_view text)
{
    return wxString::FromUTF8(text.data(), text.size());
}

}  // namespace

// ---------------------------------------------------------------------------------

const wxFont& FontCache::Get(const Font& font, wxDC& measure)
{
    const auto key = std::make_tuple(font.face, font.height, font.width, font.weight);
    if (const auto it = m_fonts.find(key); it != m_fonts.end())
        return it->second;

    // The height asked for is the character cell; fonts are sized by the em. Make the
    // font at the cell's height, measure its cell once and scale.
    wxFont made = MakeFont(font.face, font.height, font.weight);
    measure.SetFont(made);
    const int cell = measure.GetCharHeight();
    if (cell > font.height) {
        const int em = std::max(1, (font.height * font.height + cell / 2) / cell);
        made = MakeFont(font.face, em, font.weight);
    }
    return m_fonts.emplace(key, made).first->second;
}

wxFont FontCache::MakeFont(const std::string& face, int emPixels, int weight)
{
#ifdef __WXGTK__
    // Straight to Pango: wx would look the face up among all installed families and
    // search point sizes for the pixel size, which costs the first page some 4 ms.
    wxNativeFontInfo info;
    info.description = pango_font_description_new();  // freed with info
    pango_font_description_set_family(info.description, face.c_str());
    pango_font_description_set_absolute_size(info.description, emPixels * PANGO_SCALE);
    wxFont made(info);
#else
    wxFont made(wxFontInfo(wxSize(0, emPixels)).FaceName(wxString::FromUTF8(face)).Family(wxFONTFAMILY_SWISS));
#endif
    made.SetNumericWeight(weight);
    return made;
}

// ---------------------------------------------------------------------------------

WxCanvas::WxCanvas(wxDC& dc, wxSize client, FontCache& fonts, PaintProbe* probe)
    : m_dc(dc), m_client(client), m_fonts(fonts), m_probe(probe)
{
    if (m_probe)
        m_probe->PaintBegins();
    // Black text on an opaque white background, as every paint of the program expects.
    m_dc.SetBackgroundMode(wxBRUSHSTYLE_SOLID);
    m_dc.SetTextBackground(*wxWHITE);
    m_dc.SetTextForeground(*wxBLACK);
}

void WxCanvas::SelectBrush(const Brush& brush)
{
    m_brush = wxColour(brush.color.r, brush.color.g, brush.color.b);
}

void WxCanvas::SelectFont(const Font& font)
{
    m_dc.SetFont(m_fonts.Get(font, m_dc));
}

void WxCanvas::Rectangle(const Rect& rect)
{
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return;
    // Two filled rectangles instead of a stroked one: fills land on whole pixels on
    // every backend, where a 1-pixel stroke may be smeared over two.
    m_dc.SetPen(*wxTRANSPARENT_PEN);
    m_dc.SetBrush(*wxBLACK_BRUSH);
    m_dc.DrawRectangle(rect.left, rect.top, rect.Width(), rect.Height());
    if (rect.Width() > 2 && rect.Height() > 2) {
        m_dc.SetBrush(wxBrush(m_brush));
        m_dc.DrawRectangle(rect.left + 1, rect.top + 1, rect.Width() - 2, rect.Height() - 2);
    }
}

void WxCanvas::TextOut(int x, int y, std::string_view text)
{
    m_dc.DrawText(FromUtf8(text), x, y);
    if (m_probe)
        m_probe->TextDrawn(x, y, text);
}

Size WxCanvas::GetTextExtent(std::string_view text)
{
    const wxSize extent = m_dc.GetTextExtent(FromUtf8(text));
    // An empty text still has the height of a line.
    return {extent.x, extent.y > 0 ? extent.y : m_dc.GetCharHeight()};
}

void WxCanvas::ClipTo(const Rect& rect)
{
    m_dc.DestroyClippingRegion();
    m_dc.SetClippingRegion(rect.left, rect.top, rect.Width(), rect.Height());
}

void WxCanvas::ResetClip()
{
    m_dc.DestroyClippingRegion();
}
