// The drawing surface of one paint over a wx device context.
#pragma once

#include <map>
#include <memory>
#include <tuple>

#include <wx/dc.h>
#include <wx/font.h>

#include "platform/Canvas.h"

#ifdef __WXGTK__
typedef struct _PangoContext PangoContext;
typedef struct _PangoFontDescription PangoFontDescription;
typedef struct _PangoLayout PangoLayout;
typedef struct _cairo cairo_t;
#endif

// A font request made into a face of the machine: its character cell as high as
// asked and, stretched or narrowed where the face differs, its characters as wide
// on average as asked, so that text lays out alike whichever face stands in.
struct MadeFont {
#ifdef __WXGTK__
    PangoFontDescription* description = nullptr;
    double xScale = 1.0;  // horizontal stretch that brings the average width to the request
#else
    wxFont font;
#endif
};

// Fonts made once per run.
class FontCache {
public:
    FontCache();
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // Measured on the surface the font is first selected into.
    const MadeFont& Get(const Font& font, wxDC& measure);

#ifdef __WXGTK__
    // Every text of the view is laid out in this context, measured and drawn alike.
    PangoContext* Context();
#endif

private:
    std::map<std::tuple<std::string, int, int, int>, MadeFont> m_fonts;
#ifdef __WXGTK__
    PangoContext* m_context = nullptr;
#endif
};

// Sees every paint and every text the view draws: the GUI tests read the window's
// texts here, since text cannot be read back from pixels.
class PaintProbe {
public:
    virtual ~PaintProbe() = default;
    virtual void PaintBegins() = 0;
    virtual void TextDrawn(int x, int y, std::string_view text) = 0;
    // The view has drawn everything of this paint; the toolkit has yet to show it.
    virtual void PaintEnds() {}
};

class WxCanvas : public Canvas {
public:
    WxCanvas(wxDC& dc, wxSize client, FontCache& fonts, PaintProbe* probe = nullptr);
    ~WxCanvas() override;

    void SelectBrush(const Brush& brush) override;
    void SelectFont(const Font& font) override;
    void Rectangle(const Rect& rect) override;
    void TextOut(int x, int y, std::string_view text) override;
    Size GetTextExtent(std::string_view text) override;
    Rect GetClientRect() override { return {0, 0, m_client.x, m_client.y}; }
    void ClipTo(const Rect& rect) override;
    void ResetClip() override;

private:
    wxDC& m_dc;
    wxSize m_client;
    FontCache& m_fonts;
    PaintProbe* m_probe;
    wxColour m_brush = *wxWHITE;
    const MadeFont* m_font = nullptr;
#ifdef __WXGTK__
    // Lays text out in the selected font where the surface's transformation is
    // stretched by the font's scale, so what is measured is what is drawn.
    PangoLayout* Layout(std::string_view text);
    // The laid-out text's width (stretched) and height on the surface.
    Size ExtentOf(PangoLayout* layout) const;
    cairo_t* m_cairo = nullptr;
    PangoLayout* m_layout = nullptr;
#endif
};
