#include "history/wx/HistoryDlg.h"

#include <filesystem>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <numeric>

#include <wx/button.h>
#include <wx/datetime.h>
#include <wx/dcbuffer.h>
#include <wx/filedlg.h>
#include <wx/graphics.h>
#include <wx/radiobut.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "view/Format.h"

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

// Round steps for an axis from lo to hi with about n of them.
double NiceStep(double span, int n)
{
    const double raw = span / std::max(1, n);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double f : {1.0, 2.0, 5.0, 10.0})
        if (raw <= f * magnitude)
            return f * magnitude;
    return 10.0 * magnitude;
}

wxString DateOf(std::int64_t utcMillis)
{
    return wxDateTime(wxLongLong(utcMillis)).Format("%Y-%m-%d");
}

struct Box {
    double x, y, w, h;
};

}  // namespace

// ---------------------------------------------------------------------------------

HistoryChart::HistoryChart(wxWindow* parent, const WindowRequest& request)
    : wxWindow(parent, CHistoryDlg::kIdChart, wxDefaultPosition, wxSize(640, 420), wxFULL_REPAINT_ON_RESIZE),
      m_request(request)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &HistoryChart::OnPaint, this);
}

void HistoryChart::ShowMode(const ModeSummary* summary, int mode)
{
    m_summary = summary;
    m_mode = mode;
    Refresh();
}

wxColour HistoryChart::LineColour() const
{
    return DarkTheme() ? wxColour(110, 170, 255) : wxColour(25, 95, 200);
}

void HistoryChart::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    const wxColour back = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW);
    const wxColour fore = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT);
    const wxColour grid = Mix(back, fore, 0.18);
    const wxColour muted = Mix(back, fore, 0.6);
    const wxColour line = LineColour();
    const wxColour record = DarkTheme() ? wxColour(255, 120, 110) : wxColour(200, 40, 40);
    const wxColour recent = DarkTheme() ? wxColour(255, 180, 70) : wxColour(230, 125, 0);
    dc.SetBackground(wxBrush(back));
    dc.Clear();
    m_points.clear();
    m_recordY = -1.0;

    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
    if (!gc)
        return;
    gc->SetAntialiasMode(wxANTIALIAS_DEFAULT);
    const wxSize size = GetClientSize();
    const double W = size.x, H = size.y;
    wxFont font = GetFont();
    wxFont bold = font.Bold();
    auto text = [&](const wxString& s, double x, double y, const wxColour& c, bool strong = false) {
        gc->SetFont(strong ? bold : font, c);
        gc->DrawText(s, x, y);
    };
    auto extent = [&](const wxString& s) {
        double w, h;
        gc->SetFont(font, fore);
        gc->GetTextExtent(s, &w, &h);
        return wxSize(static_cast<int>(std::ceil(w)), static_cast<int>(std::ceil(h)));
    };
    const double lineH = extent("Mg").y;

    if (!m_summary) {
        // What happened, where the file is, that the game goes on and what to do,
        // broken into lines that fit the window.
        text(Text(m_request, text::kUnreadable), 12, 12, fore, true);
        const wxString help = wxString::Format(Text(m_request, text::kUnreadableHelp), m_folder);
        double y = 12 + lineH * 1.6;
        wxString line;
        for (const wxString& word : wxSplit(help, ' ', '\0')) {
            const wxString longer = line.empty() ? word : line + " " + word;
            if (!line.empty() && extent(longer).x > W - 24) {
                text(line, 12, y, fore);
                y += lineH * 1.2;
                line = word;
            } else {
                line = longer;
            }
        }
        text(line, 12, y, fore);
        return;
    }
    const ModeSummary& s = *m_summary;
    const double recordValue = m_request.records[m_mode];

    // --- series averages over time ----------------------------------------------------
    const double left = extent("00000").x + 14, right = W - 16;
    // From the bottom up: the last series takes four lines, the rest is shared by
    // the two charts, each with a title line above and a line of labels below.
    const double tableTop = H - lineH * 3.8 - 4;
    const double shared = std::max(0.0, tableTop - lineH * 5.8 - 12);
    const double histTop = lineH * 1.6 + 6 + shared * 0.56 + lineH * 1.5;
    Box chart{left, lineH * 1.6 + 6, right - left, shared * 0.56};
    text(Text(m_request, text::kAverages), 10, 4, fore, true);
    if (recordValue > 0.0) {
        const wxString label = wxString::FromUTF8(Format(ChooseText(m_request.language, text::kRecord), recordValue));
        text(label, W - 16 - extent(label).x, 4, record);
    }
    if (s.averages.empty()) {
        text(Text(m_request, text::kNoSeries), chart.x + 10, chart.y + chart.h / 2 - lineH / 2, muted);
    } else {
        double lo = recordValue > 0.0 ? recordValue : s.averages.front().average, hi = lo;
        for (const auto& p : s.averages) {
            lo = std::min(lo, p.average);
            hi = std::max(hi, p.average);
        }
        const double step = NiceStep(std::max(hi - lo, 10.0), 4);
        lo = std::floor(lo / step) * step - (hi - lo < step ? step : 0);
        hi = std::ceil(hi / step) * step + (hi - lo < step ? step : 0);
        if (hi <= lo)
            hi = lo + step;
        auto yOf = [&](double v) { return chart.y + chart.h - (v - lo) / (hi - lo) * chart.h; };
        const std::int64_t t0 = s.averages.front().utcMillis, t1 = s.averages.back().utcMillis;
        const std::size_t n = s.averages.size();
        // Spaced by time when the series span more than a day, else one after another.
        const bool byTime = t1 - t0 > 24LL * 3600 * 1000;
        auto xOf = [&](std::size_t i) {
            if (n == 1)
                return chart.x + chart.w / 2;
            const double f = byTime ? static_cast<double>(s.averages[i].utcMillis - t0) / static_cast<double>(t1 - t0)
                                    : static_cast<double>(i) / static_cast<double>(n - 1);
            return chart.x + 6 + f * (chart.w - 12);
        };

        gc->SetPen(wxPen(grid, 1));
        for (double v = lo; v <= hi + step / 2; v += step) {
            const double y = yOf(v);
            gc->StrokeLine(chart.x, y, chart.x + chart.w, y);
            const wxString label = wxString::Format("%.0f", v);
            text(label, chart.x - 6 - extent(label).x, y - lineH / 2, muted);
        }
        text(DateOf(t0), chart.x, chart.y + chart.h + 2, muted);
        if (n > 1) {
            const wxString last = DateOf(t1);
            text(last, chart.x + chart.w - extent(last).x, chart.y + chart.h + 2, muted);
        }

        if (recordValue > 0.0) {
            m_recordY = yOf(recordValue);
            wxPen pen(record, 1.5, wxPENSTYLE_SHORT_DASH);
            gc->SetPen(pen);
            gc->StrokeLine(chart.x, m_recordY, chart.x + chart.w, m_recordY);
        }

        wxGraphicsPath path = gc->CreatePath();
        for (std::size_t i = 0; i < n; ++i) {
            m_points.emplace_back(xOf(i), yOf(s.averages[i].average));
            if (i == 0)
                path.MoveToPoint(m_points.back());
            else
                path.AddLineToPoint(m_points.back());
        }
        // Many series make a band; the trend through it is the mean of the series
        // around each one.
        const std::size_t window = n > 60 ? std::max<std::size_t>(5, n / 40) : 0;
        gc->SetPen(wxPen(window ? Mix(back, line, 0.35) : line, window ? 1 : 2));
        gc->StrokePath(path);
        if (window) {
            wxGraphicsPath trend = gc->CreatePath();
            double sum = 0.0;
            for (std::size_t i = 0; i < n; ++i) {
                sum += s.averages[i].average;
                if (i >= window)
                    sum -= s.averages[i - window].average;
                if (i + 1 < window)
                    continue;
                const double x = (m_points[i].m_x + m_points[i + 1 - window].m_x) / 2;
                const double y = yOf(sum / static_cast<double>(window));
                if (i + 1 == window)
                    trend.MoveToPoint(x, y);
                else
                    trend.AddLineToPoint(x, y);
            }
            gc->SetPen(wxPen(line, 2.5));
            gc->StrokePath(trend);
        }
        // Dots while they stay apart, so that each series can be told.
        const double radius = n <= 200 ? 3.5 : 0.0;
        if (radius > 0) {
            gc->SetPen(*wxTRANSPARENT_PEN);
            gc->SetBrush(wxBrush(line));
            for (const auto& p : m_points)
                gc->DrawEllipse(p.m_x - radius, p.m_y - radius, 2 * radius, 2 * radius);
        }
    }

    // --- histogram of single reaction times ----------------------------------------------
    Box hist{left, histTop + lineH * 1.4, right - left, shared * 0.44};
    text(Text(m_request, text::kTimes), 10, histTop, fore, true);
    {
        const wxString all = Text(m_request, text::kAllTime), last30 = Text(m_request, text::kRecent);
        double x = W - 16 - extent(last30).x;
        text(last30, x, histTop, recent);
        gc->SetBrush(wxBrush(recent));
        gc->SetPen(*wxTRANSPARENT_PEN);
        gc->DrawRectangle(x - 14, histTop + lineH / 2 - 4, 9, 9);
        x -= 24 + extent(all).x;
        text(all, x, histTop, line);
        gc->SetBrush(wxBrush(Mix(back, line, 0.55)));
        gc->DrawRectangle(x - 14, histTop + lineH / 2 - 4, 9, 9);
    }
    if (!s.histogramAll.empty()) {
        // At most 100 buckets from the quickest: slower answers are counted in the last.
        const int first = s.histogramAll.begin()->first;
        const int last = std::min(s.histogramAll.rbegin()->first, first + 99 * kBucketMs);
        const int buckets = (last - first) / kBucketMs + 1;
        std::vector<int> all(buckets), recentCounts(buckets);
        auto place = [&](const std::map<int, int>& from, std::vector<int>& to) {
            for (const auto& [bucket, count] : from)
                to[std::clamp((bucket - first) / kBucketMs, 0, buckets - 1)] += count;
        };
        place(s.histogramAll, all);
        place(s.histogramRecent, recentCounts);
        // Each as shares of its own answers, so that the two shapes compare.
        auto total = [](const std::vector<int>& v) { return std::max(1, std::accumulate(v.begin(), v.end(), 0)); };
        const double allTotal = total(all), recentTotal = total(recentCounts);
        double top = 0.0;
        for (int i = 0; i < buckets; ++i)
            top = std::max({top, all[i] / allTotal, recentCounts[i] / recentTotal});
        top = std::max(top, 1e-9);
        const double bw = hist.w / buckets;
        gc->SetPen(wxPen(grid, 1));
        gc->StrokeLine(hist.x, hist.y + hist.h, hist.x + hist.w, hist.y + hist.h);
        for (int i = 0; i < buckets; ++i) {
            const double h1 = hist.h * all[i] / allTotal / top, h2 = hist.h * recentCounts[i] / recentTotal / top;
            gc->SetPen(*wxTRANSPARENT_PEN);
            gc->SetBrush(wxBrush(Mix(back, line, 0.55)));
            gc->DrawRectangle(hist.x + i * bw + 0.5, hist.y + hist.h - h1, std::max(1.0, bw - 1), h1);
            gc->SetBrush(wxBrush(recent));
            gc->DrawRectangle(hist.x + i * bw + bw * 0.25, hist.y + hist.h - h2, std::max(1.0, bw * 0.5), h2);
        }
        text(wxString::Format("%d", first), hist.x, hist.y + hist.h + 2, muted);
        const wxString end = wxString::Format(last < s.histogramAll.rbegin()->first ? "%d+" : "%d", last + kBucketMs);
        text(end, hist.x + hist.w - extent(end).x, hist.y + hist.h + 2, muted);
        const wxString peak = wxString::Format("%.0f%%", top * 100);
        text(peak, hist.x - 6 - extent(peak).x, hist.y - lineH / 2, muted);
    }

    // --- the last series ------------------------------------------------------------
    text(Text(m_request, text::kLastSeries), 10, tableTop, fore, true);
    const wxString answers =
        wxString::FromUTF8(Format(ChooseText(m_request.language, text::kAnswers, s.answers), s.answers));
    text(answers, W - 16 - extent(answers).x, tableTop, muted);
    if (s.last) {
        const Series& last = *s.last;
        wxString times = DateOf(last.utcMillis) + ":  ";
        for (std::size_t i = 0; i < last.times.size(); ++i)
            times += wxString::Format(i ? ", %d" : "%d", last.times[i]);
        text(times, 10, tableTop + lineH * 1.3, fore);
        const wxString figures = wxString::Format(
            "%s %.1f    %s %.1f    %s %.1f    %s %d", Text(m_request, text::kAverage), last.average,
            Text(m_request, text::kMedian), last.median, Text(m_request, text::kSd), last.sd,
            Text(m_request, text::kBest), last.best);
        text(figures, 10, tableTop + lineH * 2.5, fore, true);
    } else {
        text(Text(m_request, text::kNoSeries), 10, tableTop + lineH * 1.3, muted);
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
        auto* button = new wxRadioButton(this, kIdModeA + m, Text(request, text::kMode[m]), wxDefaultPosition,
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
    auto* exportButton = new wxButton(this, kIdExport, Text(request, text::kExport));
    exportButton->Bind(wxEVT_BUTTON, &CHistoryDlg::OnExport, this);
    exportButton->Enable(m_readable);
    auto* close = new wxButton(this, wxID_CANCEL, Text(request, text::kClose));
    SetEscapeId(wxID_CANCEL);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(m_status, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 10);
    buttons->Add(exportButton, 0, wxRIGHT, 6);
    buttons->Add(close, 0);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(modes, 0, wxALL, 10);
    top->Add(m_chart, 1, wxEXPAND | wxLEFT | wxRIGHT, 8);
    top->Add(buttons, 0, wxEXPAND | wxALL, 8);
    SetSizerAndFit(top);
    SetMinSize(GetSize());
    CentreOnParent();
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
    wxFileDialog ask(this, Text(m_request, text::kExport), wxString(), "kbr_dorin-history.csv",
                     "CSV (*.csv)|*.csv", wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (ask.ShowModal() == wxID_OK)
        ExportTo(ask.GetPath().utf8_string());
}

}  // namespace history
