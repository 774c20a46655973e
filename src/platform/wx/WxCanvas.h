// The drawing surface of one paint over a wx device context.
#pragma once

#include <map>

#include <wx/dc.h>
#include <wx/font.h>

#include "platform/Canvas.h"

// Fonts made once per run: a font request is turned into the wx font whose
// character cell is as high as asked.
class FontCache {
public:
    // Measured on the surface the font is first selected into.
    const wxFont& Get(const Font& font, wxDC& measure);

private:
    static wxFont MakeFont(const std::string& face, int emPixels, int weight);

    std::map<std::tuple<std::string, int, int, int>, wxFont> m_fonts;
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
};
