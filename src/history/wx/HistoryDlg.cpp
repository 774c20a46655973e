#include "history/wx/HistoryDlg.h"

#include <filesystem>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <numeric>

#include <wx/button.h>
#include <wx/dcbuffer.h>
#include <wx/display.h>
#include <wx/filedlg.h>
#include <wx/filefn.h>
#include <wx/msgdlg.h>
#include <wx/graphics.h>
#include <wx/radiobut.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "platform/wx/Accessible.h"
#include "view/Format.h"

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

namespace history {

namespace {

wxString Text(const WindowRequest& request, const LangText& text)
{
    return wxString::FromUTF8(ChooseText(request.language, text));
}

// A colour between a and b: t = 0 gives a, 1 gives b.
wxColour Mix(const wxColour& a, const wxColour& b, double t)
{
    auto mix = [t](int x, int y) { return static_cast<unsigned char>(std::lround(x + (y - x) * t)); };
    return wxColour(mix(a.Red(), b.Red()), mix(a.Green(), b.Green()), mix(a.Blue(), b.Blue()));
}

bool DarkTheme()
{
    return wxSystemSettings::GetAppearance().IsDark();
}

// Measures texts in the chart's fonts, as drawn by gc.
chart::Measure MeasureWith(wxGraphicsContext& gc, const wxFont& font, const wxFont& bold)
{
    return [&gc, font, bold](const std::string& text, bool strong) {
        double w = 0, h = 0;
        gc.SetFont(strong ? bold : font, *wxBLACK);
        gc.GetTextExtent(wxString::FromUTF8(text), &w, &h);
        return chart::Extent{w, h};
    };
}

// The work area (the screen less the desktop's panels) of the screen window is on.
wxRect WorkAreaOf(const wxWindow* window)
{
    const int display = wxDisplay::GetFromWindow(window);
    return wxDisplay(display == wxNOT_FOUND ? 0u : static_cast<unsigned>(display)).GetClientArea();
}

#ifdef __WXGTK__
// A window just shown, brought within area (a wxRect) when it is larger.
void FitIntoArea(GtkWidget* widget, gpointer data)
{
    const wxRect& area = *static_cast<wxRect*>(data);
    constexpr int kMargin = 64;  // room for the frame and its shadow
    int width = 0, height = 0;
    gtk_window_get_size(GTK_WINDOW(widget), &width, &height);
    if (width <= area.width - kMargin && height <= area.height - kMargin)
        return;
    width = std::min(width, area.width - kMargin);
    height = std::min(height, area.height - kMargin);
    gtk_window_resize(GTK_WINDOW(widget), width, height);
    gtk_window_move(GTK_WINDOW(widget), area.x + (area.width - width) / 2, area.y + (area.height - height) / 2);
}
#endif

}  // namespace

// ---------------------------------------------------------------------------------

HistoryChart::HistoryChart(wxWindow* parent, const WindowRequest& request)
    : wxWindow(parent, CHistoryDlg::kIdChart, wxDefaultPosition, wxSize(640, 420),
               wxFULL_REPAINT_ON_RESIZE | wxWANTS_CHARS),
      m_request(request)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &HistoryChart::OnPaint, this);
    Bind(wxEVT_KEY_DOWN, &HistoryChart::OnKeyDown, this);
    Bind(wxEVT_MOTION, &HistoryChart::OnMouse, this);
    Bind(wxEVT_LEFT_DOWN, &HistoryChart::OnMouse, this);
    // The focus is drawn round the chart.
    Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& event) { Refresh(); event.Skip(); });
    Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) { Refresh(); event.Skip(); });
}

void HistoryChart::ShowMode(const ModeSummary* summary, int mode)
{
    m_summary = summary;
    m_mode = mode;
    m_selected = -1;
    Refresh();
    Described();
}

wxSize HistoryChart::MinimumSize()
{
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create());  // one that only measures
    if (!gc)
        return wxSize(360, 300);
    const wxFont font = GetFont();
    const chart::Picture picture = chart::Compose(m_summary, m_mode, m_request, m_folder.utf8_string(), 400, 400,
                                                  MeasureWith(*gc, font, font.Bold()));
    return wxSize(static_cast<int>(std::ceil(picture.minimum.w)), static_cast<int>(std::ceil(picture.minimum.h)));
}

wxColour HistoryChart::LineColour() const
{
    return DarkTheme() ? wxColour(110, 170, 255) : wxColour(25, 95, 200);
}

void HistoryChart::Select(int series)
{
    if (!m_summary || m_summary->averages.empty())
        return;
    series = std::clamp(series, 0, static_cast<int>(m_summary->averages.size()) - 1);
    if (series == m_selected)
        return;
    m_selected = series;
    Refresh();
    Described();
}

void HistoryChart::Described()
{
    m_description = chart::Describe(m_summary, m_mode, m_request, m_selected);
    // Spoken: the series picked, else the mode; the rest is in the description.
    TellScreenReaders(*this, m_description.substr(0, m_description.find(". ") + 1), m_description);
    if (m_onDescribed)
        m_onDescribed(m_description);
}

void HistoryChart::OnKeyDown(wxKeyEvent& event)
{
    const int count = m_summary ? static_cast<int>(m_summary->averages.size()) : 0;
    const int at = m_selected < 0 ? count : m_selected;
    switch (event.GetKeyCode()) {
    case WXK_LEFT: Select(m_selected < 0 ? count - 1 : at - 1); break;
    case WXK_RIGHT: Select(m_selected < 0 ? count - 1 : at + 1); break;
    case WXK_PAGEUP: Select(at - 10); break;
    case WXK_PAGEDOWN: Select(at + 10); break;
    case WXK_HOME: Select(0); break;
    case WXK_END: Select(count - 1); break;
    case WXK_TAB: Navigate(event.ShiftDown() ? wxNavigationKeyEvent::IsBackward : wxNavigationKeyEvent::IsForward); break;
    default: event.Skip();
    }
}

void HistoryChart::OnMouse(wxMouseEvent& event)
{
    const chart::Box& box = m_picture.averagesBox;
    constexpr double kReach = 8;  // a dot on the chart's edge is picked from just outside it too
    if (event.GetY() >= box.y - kReach && event.GetY() <= box.y + box.h + kReach && !m_picture.averagePoints.empty())
        Select(chart::NearestSeries(m_picture, event.GetX()));
    if (event.LeftDown())
        SetFocus();
    event.Skip();
}

void HistoryChart::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    const wxColour back = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW);
    const wxColour fore = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT);
    const wxColour line = LineColour();
    auto colour = [&](chart::Ink ink) {
        switch (ink) {
        case chart::Ink::Text: return fore;
        case chart::Ink::Muted: return Mix(back, fore, 0.6);
        case chart::Ink::Grid: return Mix(back, fore, 0.18);
        case chart::Ink::Line: return line;
        case chart::Ink::Band: return Mix(back, line, 0.35);
        case chart::Ink::Record: return DarkTheme() ? wxColour(255, 120, 110) : wxColour(200, 40, 40);
        case chart::Ink::Recent: return DarkTheme() ? wxColour(255, 180, 70) : wxColour(230, 125, 0);
        case chart::Ink::AllTime: return Mix(back, line, 0.55);
        case chart::Ink::Focus: return fore;
        }
        return fore;
    };
    dc.SetBackground(wxBrush(back));
    dc.Clear();

    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
    if (!gc)
        return;
    gc->SetAntialiasMode(wxANTIALIAS_DEFAULT);
    const wxSize size = GetClientSize();
    const wxFont font = GetFont(), bold = font.Bold();
    m_picture = chart::Compose(m_summary, m_mode, m_request, m_folder.utf8_string(), size.x, size.y,
                               MeasureWith(*gc, font, bold), m_selected);
    const chart::Picture& p = m_picture;

    for (const auto& s : p.segments) {
        gc->SetPen(wxPen(colour(s.ink), static_cast<int>(std::lround(s.width)),
                         s.dashed ? wxPENSTYLE_SHORT_DASH : wxPENSTYLE_SOLID));
        gc->StrokeLine(s.a.x, s.a.y, s.b.x, s.b.y);
    }
    for (const auto& l : p.lines) {
        wxGraphicsPath path = gc->CreatePath();
        for (std::size_t i = 0; i < l.points.size(); ++i)
            i == 0 ? path.MoveToPoint(l.points[i].x, l.points[i].y) : path.AddLineToPoint(l.points[i].x, l.points[i].y);
        wxGraphicsPenInfo pen(colour(l.ink));
        pen.Width(l.width);
        gc->SetPen(gc->CreatePen(pen));
        gc->StrokePath(path);
    }
    gc->SetPen(*wxTRANSPARENT_PEN);
    for (const auto& b : p.bars) {
        gc->SetBrush(wxBrush(colour(b.ink)));
        gc->DrawRectangle(b.x, b.y, b.w, b.h);
    }
    for (const auto& d : p.dots) {
        if (d.ring) {
            gc->SetBrush(*wxTRANSPARENT_BRUSH);
            gc->SetPen(wxPen(colour(d.ink), 2));
        } else {
            gc->SetPen(*wxTRANSPARENT_PEN);
            gc->SetBrush(wxBrush(colour(d.ink)));
        }
        gc->DrawEllipse(d.at.x - d.radius, d.at.y - d.radius, 2 * d.radius, 2 * d.radius);
    }
    for (const auto& l : p.labels) {
        gc->SetFont(l.bold ? bold : font, colour(l.ink));
        gc->DrawText(wxString::FromUTF8(l.text), l.x, l.y);
    }
    m_points.clear();
    for (const auto& at : p.averagePoints)
        m_points.emplace_back(at.x, at.y);
    m_recordY = p.recordY;
    if (HasFocus()) {
        gc->SetBrush(*wxTRANSPARENT_BRUSH);
        gc->SetPen(wxPen(colour(chart::Ink::Focus), 1, wxPENSTYLE_DOT));
        gc->DrawRectangle(1, 1, size.x - 3, size.y - 3);
    }
}

// ---------------------------------------------------------------------------------

CHistoryDlg::CHistoryDlg(wxWindow* parent, const WindowRequest& request, const std::string& databasePath)
    : wxDialog(parent, wxID_ANY, Text(request, text::kTitle), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_request(request),
      m_databasePath(databasePath)
{
    const auto started = std::chrono::steady_clock::now();
    Problem problem;
    if (const auto log = SqliteHistory::OpenForReading(databasePath, &problem))
        m_readable = log->ReadSummary(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch()).count(), &m_summary);
    else
        m_readable = problem == Problem::Other;  // never written: an empty history
    m_readMillis = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();

    const int mode = std::clamp(request.mode - 'a', 0, 2);
    m_chart = new HistoryChart(this, request);
    std::error_code ignored;
    m_chart->SetFolder(wxString::FromUTF8(std::filesystem::absolute(databasePath, ignored).parent_path().string()));
    m_chart->ShowMode(m_readable ? &m_summary.modes[mode] : nullptr, mode);
    auto* modes = new wxBoxSizer(wxHORIZONTAL);
    for (int m = 0; m < 3; ++m) {
        auto* button = new wxRadioButton(this, kIdModeA + m, Text(request, text::kModeButton[m]), wxDefaultPosition,
                                         wxDefaultSize, m == 0 ? wxRB_GROUP : 0);
        button->SetValue(m == mode);
        button->Enable(m_readable);  // a history that cannot be read has no modes to switch
        button->Bind(wxEVT_RADIOBUTTON, [this, m](wxCommandEvent&) {
            m_chart->ShowMode(m_readable ? &m_summary.modes[m] : nullptr, m);
        });
        modes->Add(button, 0, wxRIGHT, 16);
    }

    m_status = new wxStaticText(this, kIdStatus, wxString(), wxDefaultPosition, wxDefaultSize,
                                wxST_ELLIPSIZE_MIDDLE | wxST_NO_AUTORESIZE);
    auto* exportButton = new wxButton(this, kIdExport, Text(request, text::kExportButton));
    exportButton->Bind(wxEVT_BUTTON, &CHistoryDlg::OnExport, this);
    exportButton->Enable(m_readable);
    auto* close = new wxButton(this, wxID_CANCEL, Text(request, text::kCloseButton));
    SetEscapeId(wxID_CANCEL);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(m_status, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 10);
    buttons->Add(exportButton, 0, wxRIGHT, 6);
    buttons->Add(close, 0);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(modes, 0, wxALL, 10);
    top->Add(m_chart, 1, wxEXPAND | wxLEFT | wxRIGHT, 8);
    top->Add(buttons, 0, wxEXPAND | wxALL, 8);
    // Laid out from its texts as measured at the desktop's text size, and never
    // larger than the screen's work area: on a small screen the chart gives up room
    // down to the size its texts need.
    // Its first size grows with the desktop's text size (640 by 420 at the usual one).
    const double textScale = std::max(1.0, m_chart->GetCharHeight() / 16.0);
    const wxSize least = m_chart->MinimumSize();
    m_chart->SetMinSize(wxSize(std::max(static_cast<int>(640 * textScale), least.x),
                               std::max(static_cast<int>(420 * textScale), least.y)));
    SetSizerAndFit(top);
    const wxRect area = WorkAreaOf(parent ? parent : this);
    if (GetSize().x > area.width || GetSize().y > area.height) {
        const wxSize around = GetSize() - m_chart->GetMinSize();
        m_chart->SetMinSize(least);
        wxSize size = GetSize(), smallest = least + around;
        size.DecTo(area.GetSize());
        smallest.DecTo(area.GetSize());
        SetMinSize(smallest);
        SetSize(size);
    }
    CentreOnParent();
    wxRect placed = GetRect();
    placed.SetLeft(std::clamp(placed.GetLeft(), area.GetLeft(), std::max(area.GetLeft(), area.GetRight() - placed.width + 1)));
    placed.SetTop(std::clamp(placed.GetTop(), area.GetTop(), std::max(area.GetTop(), area.GetBottom() - placed.height + 1)));
    Move(placed.GetPosition());
}

bool CHistoryDlg::ExportTo(const std::string& path)
{
    std::string error;
    const int rows = ExportCsv(m_databasePath, path, &error);
    const wxString file = wxString::FromUTF8(path);
    if (rows < 0) {
        m_status->SetLabel(wxString::Format(wxString::FromUTF8(ChooseText(m_request.language, text::kExportFailed)),
                                            file));
        return false;
    }
    m_status->SetLabel(
        wxString::Format(wxString::FromUTF8(ChooseText(m_request.language, text::kExported, rows)), rows, file));
    return true;
}

void CHistoryDlg::OnExport(wxCommandEvent&)
{
    // The toolkit's own overwrite question would be in the desktop's language, not
    // the program's: the program asks it itself.
    wxFileDialog ask(this, Text(m_request, text::kExport), wxString(), "kbr_dorin-history.csv",
                     "CSV (*.csv)|*.csv", wxFD_SAVE);
    // The toolkit gives the dialog a size of its own when it shows it, which may be
    // larger than a small screen: it is brought within the work area then.
    const wxRect area = WorkAreaOf(this);
#ifdef __WXGTK__
    g_signal_connect_data(ask.GetHandle(), "map", G_CALLBACK(FitIntoArea), new wxRect(area),
                          [](gpointer data, GClosure*) { delete static_cast<wxRect*>(data); }, GConnectFlags(0));
#endif
    while (ask.ShowModal() == wxID_OK) {
        const wxString path = ask.GetPath();
        if (wxFileExists(path)) {
            wxMessageDialog replace(this, wxString::Format(Text(m_request, text::kReplace), path),
                                    Text(m_request, text::kTitle), wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION);
            replace.SetYesNoLabels(Text(m_request, text::kReplaceYes), Text(m_request, text::kReplaceNo));
            if (replace.ShowModal() != wxID_YES)
                continue;  // back to the choice of file
        }
        ExportTo(path.utf8_string());
        break;
    }
}

}  // namespace history
