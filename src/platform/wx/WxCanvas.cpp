#include "platform/wx/WxCanvas.h"

#include <algorithm>
#include <cmath>

#include <wx/brush.h>
#include <wx/graphics.h>
#include <wx/pen.h>

#ifdef __WXGTK__
#include <gdk/gdk.h>
#include <pango/pangocairo.h>
#endif

namespace {

wxString FromUtf8(std::string_view text)
{
    return wxString::FromUTF8(text.data(), text.size());
}

#ifdef __WXGTK__
// Any text: it only has to give a line its height.
constexpr const char kLineSample[] = "Ag";

PangoRectangle LogicalExtents(PangoContext* context, PangoFontDescription* description, const char* text)
{
    PangoLayout* layout = pango_layout_new(context);
    pango_layout_set_font_description(layout, description);
    pango_layout_set_text(layout, text, -1);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    g_object_unref(layout);
    return logical;
}

// The average width of a face's characters, in Pango units, as the window system
// the program was designed for defines it for the faces of its time: the widths of
// the lowercase letters and the space, weighted by how often each occurs in English
// text (in thousandths). Faces made to stand in for one another agree on it.
double AverageCharWidth(PangoContext* context, PangoFontDescription* description)
{
    static constexpr int kWeights[27] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6,  35, 20, 56,
                                         56, 17, 4,  49, 56,  71, 31, 10, 18, 3, 18, 2,  166};
    double sum = 0;
    for (int i = 0; i < 27; ++i) {
        const char letter[2] = {i < 26 ? static_cast<char>('a' + i) : ' ', '\0'};
        sum += static_cast<double>(kWeights[i]) * LogicalExtents(context, description, letter).width;
    }
    return sum / 1000;
}

void SetColour(cairo_t* cr, const wxColour& colour)
{
    cairo_set_source_rgb(cr, colour.Red() / 255.0, colour.Green() / 255.0, colour.Blue() / 255.0);
}
#endif

}  // namespace

// ---------------------------------------------------------------------------------

FontCache::FontCache() = default;

FontCache::~FontCache()
{
#ifdef __WXGTK__
    for (auto& [key, made] : m_fonts)
        pango_font_description_free(made.description);
    if (m_context)
        g_object_unref(m_context);
#endif
}

#ifdef __WXGTK__
PangoContext* FontCache::Context()
{
    if (!m_context) {
        // The screen's antialiasing and hinting, but glyph advances unrounded: a text
        // then measures in proportion to its font's size and stretch, exactly.
        m_context = gdk_pango_context_get();
        const cairo_font_options_t* screen = pango_cairo_context_get_font_options(m_context);
        cairo_font_options_t* options = screen ? cairo_font_options_copy(screen) : cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        pango_cairo_context_set_font_options(m_context, options);
        cairo_font_options_destroy(options);
        pango_context_set_round_glyph_positions(m_context, FALSE);
    }
    return m_context;
}

const MadeFont& FontCache::Get(const Font& font, wxDC&)
{
    const auto key = std::make_tuple(font.face, font.height, font.width, font.weight);
    if (const auto it = m_fonts.find(key); it != m_fonts.end())
        return it->second;

    PangoContext* context = Context();
    pango_context_set_matrix(context, nullptr);
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, font.face.c_str());
    pango_font_description_set_weight(description, static_cast<PangoWeight>(font.weight));

    // Fonts are sized by the em, the height asked for is the character cell: the
    // cell of a face grows in proportion to its em, so one measurement finds the em.
    const int cell = font.height * PANGO_SCALE;
    pango_font_description_set_absolute_size(description, cell);
    const int probeCell = std::max(1, LogicalExtents(context, description, kLineSample).height);
    int em = static_cast<int>(static_cast<long long>(cell) * cell / probeCell);
    pango_font_description_set_absolute_size(description, em);
    // Never a cell a fraction above the request, which would take a whole pixel more.
    for (int i = 0; i < 64 && LogicalExtents(context, description, kLineSample).height > cell; ++i)
        pango_font_description_set_absolute_size(description, --em);

    MadeFont made;
    made.description = description;
    const double average = AverageCharWidth(context, description) / PANGO_SCALE;
    if (font.width > 0 && average > 0)
        made.xScale = font.width / average;
    return m_fonts.emplace(key, made).first->second;
}
#else
const MadeFont& FontCache::Get(const Font& font, wxDC& measure)
{
    const auto key = std::make_tuple(font.face, font.height, font.width, font.weight);
    if (const auto it = m_fonts.find(key); it != m_fonts.end())
        return it->second;
    // The height asked for is the character cell; fonts are sized by the em.
    wxFont made(wxFontInfo(wxSize(0, font.height)).FaceName(wxString::FromUTF8(font.face)));
    made.SetNumericWeight(font.weight);
    measure.SetFont(made);
    const int cell = measure.GetCharHeight();
    if (cell > font.height)
        made.SetPixelSize(wxSize(0, std::max(1, font.height * font.height / cell)));
    return m_fonts.emplace(key, MadeFont{made}).first->second;
}
#endif

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
#ifdef __WXGTK__
    if (wxGraphicsContext* gc = m_dc.GetGraphicsContext())
        m_cairo = static_cast<cairo_t*>(gc->GetNativeContext());
#endif
}

WxCanvas::~WxCanvas()
{
#ifdef __WXGTK__
    if (m_layout)
        g_object_unref(m_layout);
#endif
}

void WxCanvas::SelectBrush(const Brush& brush)
{
    m_brush = wxColour(brush.color.r, brush.color.g, brush.color.b);
}

void WxCanvas::SelectFont(const Font& font)
{
    m_font = &m_fonts.Get(font, m_dc);
#ifndef __WXGTK__
    m_dc.SetFont(m_font->font);
#endif
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

#ifdef __WXGTK__
PangoLayout* WxCanvas::Layout(std::string_view text)
{
    // Laid out untransformed: with unrounded advances the stretched text is the
    // same text drawn wider, and both the extent and the drawing stretch it alike.
    if (!m_layout)
        m_layout = pango_layout_new(m_fonts.Context());
    pango_layout_set_font_description(m_layout, m_font->description);
    pango_layout_set_text(m_layout, text.data(), static_cast<int>(text.size()));
    return m_layout;
}

Size WxCanvas::ExtentOf(PangoLayout* layout) const
{
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    return {static_cast<int>(std::lround(logical.width * m_font->xScale / PANGO_SCALE)),
            static_cast<int>(std::ceil(static_cast<double>(logical.height) / PANGO_SCALE))};
}
#endif

void WxCanvas::TextOut(int x, int y, std::string_view text)
{
#ifdef __WXGTK__
    if (m_font && m_cairo) {
        PangoLayout* layout = Layout(text);
        const Size extent = ExtentOf(layout);
        cairo_save(m_cairo);
        if (m_dc.GetBackgroundMode() == wxBRUSHSTYLE_SOLID) {
            SetColour(m_cairo, m_dc.GetTextBackground());
            cairo_rectangle(m_cairo, x, y, extent.cx, extent.cy);
            cairo_fill(m_cairo);
        }
        SetColour(m_cairo, m_dc.GetTextForeground());
        cairo_translate(m_cairo, x, y);
        cairo_scale(m_cairo, m_font->xScale, 1.0);
        pango_cairo_show_layout(m_cairo, layout);
        cairo_restore(m_cairo);
    } else
#endif
        m_dc.DrawText(FromUtf8(text), x, y);
    if (m_probe)
        m_probe->TextDrawn(x, y, text);
}

Size WxCanvas::GetTextExtent(std::string_view text)
{
#ifdef __WXGTK__
    if (m_font && m_cairo)
        return ExtentOf(Layout(text));
#endif
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
