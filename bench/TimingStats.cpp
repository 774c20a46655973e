#include "TimingStats.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>
#include <numeric>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/image.h>

ErrorSummary Summarise(const std::vector<double>& errors)
{
    ErrorSummary s;
    if (errors.empty())
        return s;
    const double n = static_cast<double>(errors.size());
    s.mean = std::accumulate(errors.begin(), errors.end(), 0.0) / n;
    double squares = 0;
    for (double e : errors)
        squares += (e - s.mean) * (e - s.mean);
    s.sd = errors.size() > 1 ? std::sqrt(squares / (n - 1)) : 0.0;
    std::vector<double> absolute;
    for (double e : errors)
        absolute.push_back(std::fabs(e));
    std::sort(absolute.begin(), absolute.end());
    s.p95 = absolute[static_cast<size_t>(std::ceil(0.95 * n)) - 1];
    s.max = absolute.back();
    return s;
}

TimingResult Compare(const std::string& condition, const std::vector<double>& ours,
                     const std::vector<double>& naive, const std::vector<double>& applied)
{
    TimingResult r{condition, {}, {}, {}, {}};
    for (size_t i = 0; i < applied.size(); ++i) {
        if (std::isnan(applied[i]))
            continue;
        r.ours.push_back(ours[i] - applied[i]);
        r.naive.push_back(naive[i] - applied[i]);
    }
    r.oursSummary = Summarise(r.ours);
    r.naiveSummary = Summarise(r.naive);
    return r;
}

void PrintTable(const std::vector<TimingResult>& results, std::FILE* out)
{
    std::fprintf(out, "\n%-28s %-7s %5s %9s %8s %8s %8s\n", "condition", "method", "n", "mean ms", "sd ms",
                 "p95 |e|", "max |e|");
    for (const TimingResult& r : results) {
        for (int naive = 0; naive < 2; ++naive) {
            const ErrorSummary& s = naive ? r.naiveSummary : r.oursSummary;
            std::fprintf(out, "%-28s %-7s %5zu %9.2f %8.2f %8.2f %8.2f\n", naive ? "" : r.condition.c_str(),
                         naive ? "naive" : "ours", r.ours.size(), s.mean, s.sd, s.p95, s.max);
        }
    }
}

void WriteCsv(const std::vector<TimingResult>& results, const std::filesystem::path& file)
{
    std::ofstream out(file);
    out << "condition,method,error_ms\n";
    for (const TimingResult& r : results) {
        for (double e : r.ours)
            out << '"' << r.condition << "\",ours," << e << '\n';
        for (double e : r.naive)
            out << '"' << r.condition << "\",naive," << e << '\n';
    }
}

void PlotErrors(const std::vector<TimingResult>& results, const std::filesystem::path& file)
{
    // One panel per condition: counts per 1-ms bin from -20 to 125 ms (a compositor may report a frame shown after its picture is there).
    constexpr int kLow = -20, kHigh = 125, kWidth = 900, kPanel = 200, kLeft = 60, kRight = 20;
    const int height = kPanel * static_cast<int>(results.size()) + 60;
    wxBitmap bitmap(kWidth, height, 24);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    dc.SetFont(wxFontInfo(9));
    const double xScale = double(kWidth - kLeft - kRight) / (kHigh - kLow);
    auto xOf = [&](double ms) { return kLeft + static_cast<int>((ms - kLow) * xScale); };

    for (size_t p = 0; p < results.size(); ++p) {
        const TimingResult& r = results[p];
        const int top = 10 + static_cast<int>(p) * kPanel, base = top + kPanel - 40;
        std::vector<int> ours(kHigh - kLow + 1), naive(kHigh - kLow + 1);
        auto bin = [&](std::vector<int>& counts, double e) {
            const int i = std::clamp(static_cast<int>(std::lround(e)), kLow, kHigh) - kLow;
            ++counts[i];
        };
        for (double e : r.ours)
            bin(ours, e);
        for (double e : r.naive)
            bin(naive, e);
        const int most = std::max(*std::max_element(ours.begin(), ours.end()),
                                  *std::max_element(naive.begin(), naive.end()));
        const double yScale = most > 0 ? double(kPanel - 70) / most : 1.0;
        dc.SetPen(*wxBLACK_PEN);
        dc.DrawLine(kLeft, base, kWidth - kRight, base);
        for (int ms = kLow; ms <= kHigh; ms += 10) {
            dc.DrawLine(xOf(ms), base, xOf(ms), base + 4);
            dc.DrawText(wxString::Format("%d", ms), xOf(ms) - 8, base + 6);
        }
        const int barWidth = std::max(2, static_cast<int>(xScale) - 1);
        for (int i = 0; i <= kHigh - kLow; ++i) {
            dc.SetPen(*wxTRANSPARENT_PEN);
            dc.SetBrush(wxBrush(wxColour(200, 60, 40)));
            dc.DrawRectangle(xOf(i + kLow) - barWidth / 2, base - int(naive[i] * yScale), barWidth, int(naive[i] * yScale));
            dc.SetBrush(wxBrush(wxColour(30, 90, 200)));
            dc.DrawRectangle(xOf(i + kLow) - barWidth / 2, base - int(ours[i] * yScale), barWidth, int(ours[i] * yScale));
        }
        dc.SetTextForeground(*wxBLACK);
        dc.DrawText(wxString::FromUTF8(r.condition) +
                        wxString::Format("   ours: mean %.2f ms, sd %.2f   naive: mean %.2f ms, sd %.2f",
                                         r.oursSummary.mean, r.oursSummary.sd, r.naiveSummary.mean, r.naiveSummary.sd),
                    kLeft, top);
    }
    dc.DrawText("error in ms: measured - applied, 1-ms bins", kLeft, height - 50);
    dc.SetTextForeground(wxColour(30, 90, 200));
    dc.DrawText("blue: kbr_dorin (stamp of the press - square on the display)", kLeft, height - 30);
    dc.SetTextForeground(wxColour(200, 60, 40));
    dc.DrawText("red: naive (handler runs - drawing call returns)", kLeft + 420, height - 30);
    dc.SelectObject(wxNullBitmap);
    bitmap.ConvertToImage().SaveFile(wxString(file.string()), wxBITMAP_TYPE_PNG);
}

std::vector<TimingResult> ReadCsv(const std::filesystem::path& file)
{
    std::vector<TimingResult> results;
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);  // the header
    while (std::getline(in, line)) {
        const size_t close = line.find('"', 1);
        const std::string condition = line.substr(1, close - 1);
        const size_t comma = line.find(',', close + 2);
        const std::string method = line.substr(close + 2, comma - close - 2);
        const double error = std::stod(line.substr(comma + 1));
        if (results.empty() || results.back().condition != condition)
            results.push_back({condition, {}, {}, {}, {}});
        (method == "ours" ? results.back().ours : results.back().naive).push_back(error);
    }
    for (TimingResult& r : results) {
        r.oursSummary = Summarise(r.ours);
        r.naiveSummary = Summarise(r.naive);
    }
    return results;
}

std::vector<PeerErrors> ReadPeersCsv(const std::filesystem::path& file)
{
    std::vector<PeerErrors> rows;
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);  // the header
    while (std::getline(in, line)) {
        const size_t first = line.find(','), second = line.find(',', first + 1);
        if (second == std::string::npos)
            continue;
        const std::string condition = line.substr(0, first), program = line.substr(first + 1, second - first - 1);
        auto row = std::find_if(rows.begin(), rows.end(),
                                [&](const PeerErrors& r) { return r.condition == condition && r.program == program; });
        if (row == rows.end())
            row = rows.insert(rows.end(), {condition, program, {}});
        row->errors.push_back(std::stod(line.substr(second + 1)));
    }
    return rows;
}

void PlotPeers(const std::vector<PeerErrors>& rows, const std::filesystem::path& file)
{
    // |error| from 0.01 ms (anything smaller drawn there) to 1000 ms, five decades.
    constexpr double kLowLog = -2, kHighLog = 3;
    constexpr int kWidth = 960, kLeft = 190, kRight = 140, kRow = 44, kTitle = 28, kAxis = 34;
    std::vector<std::string> conditions, programs;
    for (const PeerErrors& r : rows) {
        if (std::find(conditions.begin(), conditions.end(), r.condition) == conditions.end())
            conditions.push_back(r.condition);
        if (std::find(programs.begin(), programs.end(), r.program) == programs.end())
            programs.push_back(r.program);
    }
    const int panel = kTitle + kRow * static_cast<int>(programs.size()) + kAxis;
    const int height = panel * static_cast<int>(conditions.size()) + 50;
    wxBitmap bitmap(kWidth, height, 24);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
    const wxFont font = wxFontInfo(10);
    const wxFont bold = wxFontInfo(10).Bold();
    auto xOf = [&](double ms) {
        const double l = std::clamp(std::log10(std::max(ms, 1e-9)), kLowLog, kHighLog);
        return kLeft + (l - kLowLog) / (kHighLog - kLowLog) * (kWidth - kLeft - kRight);
    };
    const wxColour colours[] = {{200, 60, 40}, {150, 80, 170}, {220, 140, 20}};  // kbr_dorin is always blue
    auto colourOf = [&](const std::string& program) {
        if (program == "kbr_dorin")
            return wxColour(30, 90, 200);
        const size_t i = std::find(programs.begin(), programs.end(), program) - programs.begin();
        return colours[i % std::size(colours)];
    };
    for (size_t c = 0; c < conditions.size(); ++c) {
        const double top = static_cast<double>(c) * panel + 8;
        gc->SetFont(bold, *wxBLACK);
        gc->DrawText(wxString::FromUTF8(conditions[c]), 10, top);
        const double rowsTop = top + kTitle, rowsBottom = rowsTop + kRow * static_cast<double>(programs.size());
        // Decades and their steps.
        for (int d = static_cast<int>(kLowLog); d <= static_cast<int>(kHighLog); ++d) {
            for (int step = 1; step <= (d < kHighLog ? 9 : 1); ++step) {
                const double x = xOf(step * std::pow(10.0, d));
                gc->SetPen(wxPen(step == 1 ? wxColour(170, 170, 170) : wxColour(230, 230, 230), 1));
                gc->StrokeLine(x, rowsTop, x, rowsBottom + (step == 1 ? 5 : 0));
            }
            gc->SetFont(font, *wxBLACK);
            const wxString label = d < 0 ? wxString::Format("%g", std::pow(10.0, d)) : wxString::Format("%d", int(std::lround(std::pow(10.0, d))));
            double w = 0, h = 0;
            gc->GetTextExtent(label, &w, &h);
            gc->DrawText(label, xOf(std::pow(10.0, d)) - w / 2, rowsBottom + 7);
        }
        for (size_t p = 0; p < programs.size(); ++p) {
            const double mid = rowsTop + kRow * (static_cast<double>(p) + 0.5);
            gc->SetFont(font, *wxBLACK);
            double w = 0, h = 0;
            gc->GetTextExtent(wxString::FromUTF8(programs[p]), &w, &h);
            gc->DrawText(wxString::FromUTF8(programs[p]), kLeft - 12 - w, mid - h / 2);
            const auto row = std::find_if(rows.begin(), rows.end(), [&](const PeerErrors& r) {
                return r.condition == conditions[c] && r.program == programs[p];
            });
            if (row == rows.end() || row->errors.empty())
                continue;
            const wxColour colour = colourOf(programs[p]);
            gc->SetPen(*wxTRANSPARENT_PEN);
            gc->SetBrush(wxBrush(wxColour(colour.Red(), colour.Green(), colour.Blue(), 110)));
            std::vector<double> absolute;
            unsigned jitter = 12345;
            for (double e : row->errors) {
                absolute.push_back(std::fabs(e));
                jitter = jitter * 1103515245u + 12345u;  // a fixed spread, the same picture each time
                const double dy = (static_cast<double>((jitter >> 16) % 1000) / 1000.0 - 0.5) * (kRow - 14);
                gc->DrawEllipse(xOf(std::fabs(e)) - 3, mid + dy - 3, 6, 6);
            }
            std::sort(absolute.begin(), absolute.end());
            const size_t n = absolute.size();
            const double median = n % 2 ? absolute[n / 2] : (absolute[n / 2 - 1] + absolute[n / 2]) / 2;
            gc->SetPen(wxPen(*wxBLACK, 3));
            gc->StrokeLine(xOf(median), mid - kRow / 2.0 + 3, xOf(median), mid + kRow / 2.0 - 3);
            gc->SetFont(font, colour);
            gc->GetTextExtent("x", &w, &h);
            gc->DrawText(wxString::Format("median %.2f ms", median), kWidth - kRight + 10, mid - h / 2);
        }
    }
    gc->SetFont(font, *wxBLACK);
    gc->DrawText("absolute error |reported - applied| of each answer, ms, log scale (0.01 stands for anything "
                 "smaller); black bar: median",
                 10, height - 34);
    gc.reset();
    dc.SelectObject(wxNullBitmap);
    bitmap.ConvertToImage().SaveFile(wxString(file.string()), wxBITMAP_TYPE_PNG);
}
