#include "TimingStats.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numeric>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
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
