// The page's fonts are sized by the height and the width they ask for, whichever
// compatible face the machine has for them: drawn in the real window's surface.
#include <map>
#include <numeric>

#include <pango/pango.h>
#include <wx/dcclient.h>

#include "GuiHarness.h"

namespace {

// Draws through another canvas with every face of one name replaced by another, as
// the machine's font matching would if only that face were installed.
class FaceCanvas : public Canvas {
public:
    FaceCanvas(Canvas& target, std::string from, std::string to) : m_target(target), m_from(from), m_to(to) {}
    void SelectBrush(const Brush& brush) override { m_target.SelectBrush(brush); }
    void SelectFont(const Font& font) override
    {
        Font face = font;
        if (face.face == m_from)
            face.face = m_to;
        m_target.SelectFont(face);
    }
    void Rectangle(const Rect& rect) override { m_target.Rectangle(rect); }
    void TextOut(int x, int y, std::string_view text) override { m_target.TextOut(x, y, text); }
    Size GetTextExtent(std::string_view text) override { return m_target.GetTextExtent(text); }
    Rect GetClientRect() override { return m_target.GetClientRect(); }
    void ClipTo(const Rect& rect) override { m_target.ClipTo(rect); }
    void ResetClip() override { m_target.ResetClip(); }

private:
    Canvas& m_target;
    std::string m_from, m_to;
};

// The family the machine's font matching gives for a face.
std::string FamilyFor(FontCache& fonts, const std::string& face)
{
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, face.c_str());
    PangoFont* font = pango_context_load_font(fonts.Context(), description);
    std::string family;
    if (font) {
        PangoFontDescription* loaded = pango_font_describe(font);
        family = pango_font_description_get_family(loaded);
        pango_font_description_free(loaded);
        g_object_unref(font);
    }
    pango_font_description_free(description);
    return family;
}

// A font's average character width as the window system the program was designed
// for has it: lowercase letters and the space, weighted by their share of English
// text (thousandths); each measured a hundred times over, for a width in fractions.
double AverageWidth(Canvas& canvas)
{
    const int weights[27] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6, 35, 20, 56,
                             56, 17, 4, 49, 56, 71, 31, 10, 18, 3, 18, 2, 166};
    double sum = 0;
    for (int i = 0; i < 27; ++i) {
        const std::string repeated(100, i < 26 ? static_cast<char>('a' + i) : ' ');
        sum += weights[i] * canvas.GetTextExtent(repeated).cx / 100.0;
    }
    return sum / 1000;
}

}  // namespace

TEST_F(GuiTest, ThePageLaysOutAlikeWhicheverFaceStandsInForTimes)
{
    ASSERT_TRUE(WaitFor([&] { return Shows("    KBR_DORIN belongs to ''Arvenlo'' series."); }));
    wxWindow& window = frame->ViewWindow();

    std::map<std::string, std::vector<TextProbe::Text>> pages;
    for (const std::string face : {"Liberation Serif", "Nimbus Roman"}) {
        SCOPED_TRACE(face);
        FontCache fonts;
        ASSERT_EQ(FamilyFor(fonts, face), face) << "the face is installed";
        wxClientDC dc(&window);
        TextProbe lines;
        WxCanvas surface(dc, window.GetClientSize(), fonts, &lines);
        FaceCanvas canvas(surface, "Times", face);

        canvas.SelectFont(Font{"Times", 16, 7, 700});
        EXPECT_EQ(canvas.GetTextExtent("Ag").cy, 16) << "the character cell";
        frame->ViewWindow().View().OnDraw(canvas);

        ASSERT_GE(lines.texts.size(), 10u);
        EXPECT_NEAR(AverageWidth(canvas), 7.0, 0.05) << "the average width of a character";
        pages[face] = lines.texts;
    }
    const auto& liberation = pages["Liberation Serif"];
    const auto& nimbus = pages["Nimbus Roman"];
    ASSERT_EQ(liberation.size(), nimbus.size()) << "lines of the page";
    for (std::size_t i = 0; i < liberation.size(); ++i) {
        EXPECT_EQ(liberation[i].text, nimbus[i].text) << "line " << i;
        EXPECT_EQ(liberation[i].y, nimbus[i].y) << "line " << i;
    }
}
