#include "history/chart/ChartModel.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <numeric>

#include "history/Csv.h"
#include "view/Format.h"

namespace history::chart {

namespace {

constexpr double kPad = 10.0;

// Round steps for an axis over span with about n of them.
double NiceStep(double span, int n)
{
    const double raw = std::max(span, 1e-9) / std::max(1, n);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double f : {1.0, 2.0, 5.0, 10.0})
        if (raw <= f * magnitude)
            return f * magnitude;
    return 10.0 * magnitude;
}

std::tm LocalTm(std::int64_t utcMillis)
{
    const std::time_t t = static_cast<std::time_t>(utcMillis >= 0 ? utcMillis / 1000 : (utcMillis - 999) / 1000);
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    return tm;
}

std::string Strftime(const char* format, const std::tm& tm)
{
    char buffer[64];
    const std::size_t n = std::strftime(buffer, sizeof buffer, format, &tm);
    return std::string(buffer, n);
}

std::string LocalDate(std::int64_t utcMillis)
{
    return Strftime("%Y-%m-%d", LocalTm(utcMillis));
}

// The time axis's ticks: at each day, week (Monday), month, quarter or year from
// t0 to t1, the finest whose labels fit width.
struct TimeTick {
    std::int64_t at;
    std::string label;
};
std::vector<TimeTick> TimeTicks(std::int64_t t0, std::int64_t t1, double width, const Measure& measure)
{
    enum Unit { Day, Week, Month, Quarter, Year };
    for (const Unit unit : {Day, Week, Month, Quarter, Year}) {
        const char* format = unit == Year ? "%Y" : unit >= Month ? "%Y-%m" : "%Y-%m-%d";
        const double labelWidth = measure(unit == Year ? "0000" : unit >= Month ? "0000-00" : "0000-00-00", false).w;
        // As many ticks as labels fit; a unit that would need more is given up at once.
        const std::size_t fitting = static_cast<std::size_t>(std::max(1.0, width / (labelWidth + 14)));
        std::vector<TimeTick> ticks;
        std::tm tm = LocalTm(t0);
        tm.tm_hour = tm.tm_min = tm.tm_sec = 0;
        tm.tm_isdst = -1;
        if (unit == Week)
            tm.tm_mday -= (tm.tm_wday + 6) % 7;  // back to Monday
        if (unit >= Month)
            tm.tm_mday = 1;
        if (unit == Quarter)
            tm.tm_mon -= tm.tm_mon % 3;
        if (unit == Year)
            tm.tm_mon = 0;
        while (ticks.size() <= fitting) {
            std::tm normal = tm;
            const std::int64_t at = static_cast<std::int64_t>(std::mktime(&normal)) * 1000;
            if (at > t1)
                break;
            if (at >= t0)
                ticks.push_back({at, Strftime(format, normal)});
            switch (unit) {
            case Day: tm.tm_mday += 1; break;
            case Week: tm.tm_mday += 7; break;
            case Month: tm.tm_mon += 1; break;
            case Quarter: tm.tm_mon += 3; break;
            case Year: tm.tm_year += 1; break;
            }
        }
        if (ticks.size() <= fitting)
            return ticks;
    }
    return {};
}

// text broken at separators into lines no wider than width (a piece wider than
// that stands alone on its line).
std::vector<std::string> Wrap(const std::string& text, const std::string& separator, double width, bool bold,
                              const Measure& measure)
{
    std::vector<std::string> pieces;
    for (std::size_t from = 0;;) {
        const std::size_t at = text.find(separator, from);
        if (at == std::string::npos) {
            pieces.push_back(text.substr(from));
            break;
        }
        pieces.push_back(text.substr(from, at + separator.size() - from));
        from = at + separator.size();
    }
    std::vector<std::string> lines;
    std::string line;
    for (const std::string& piece : pieces) {
        std::string longer = line + piece;
        // A line ends without its separator's trailing blanks.
        std::string trimmed = longer;
        while (!trimmed.empty() && trimmed.back() == ' ')
            trimmed.pop_back();
        if (!line.empty() && measure(trimmed, bold).w > width) {
            while (!line.empty() && line.back() == ' ')
                line.pop_back();
            lines.push_back(line);
            line = piece;
        } else {
            line = longer;
        }
    }
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    lines.push_back(line);
    return lines;
}

std::string Lang(const WindowRequest& request, const LangText& text)
{
    return ChooseText(request.language, text);
}

std::string SeriesTimes(const Series& last)
{
    std::string times;
    for (std::size_t i = 0; i < last.times.size(); ++i)
        times += (i ? ", " : "") + std::to_string(last.times[i]);
    return times;
}

// When the series was played, by the clock of the place it was played in:
// "2026-12-10 16:03" of "2026-12-10T16:03:22.123+02:00".
std::string PlayedAt(const Series& series)
{
    std::string local = IsoLocal(series.utcMillis, series.utcOffsetMinutes).substr(0, 16);
    local[10] = ' ';
    return local;
}

std::string Figures(const WindowRequest& request, const Series& last)
{
    return Format("%s %.1f    %s %.1f    %s %.1f    %s %d", Lang(request, text::kAverage).c_str(), last.average,
                  Lang(request, text::kMedian).c_str(), last.median, Lang(request, text::kSd).c_str(), last.sd,
                  Lang(request, text::kBest).c_str(), last.best);
}

// The histogram's buckets as drawn: from the quickest answer up to the 99th
// percentile, joined so that there are at most kMostBars, and the slower rest.
struct Buckets {
    int first = 0, width = kBucketMs;
    std::vector<int> all, recent;
    int allOver = 0, recentOver = 0;  // past the last bucket
    int allTotal = 0, recentTotal = 0;
};
constexpr int kMostBars = 60;
constexpr int kFewestBars = 12;

Buckets BucketsOf(const ModeSummary& s)
{
    Buckets b;
    for (const auto& [bucket, count] : s.histogramAll)
        b.allTotal += count;
    for (const auto& [bucket, count] : s.histogramRecent)
        b.recentTotal += count;
    if (b.allTotal == 0)
        return b;
    b.first = s.histogramAll.begin()->first;
    int cumulative = 0, last = b.first;
    for (const auto& [bucket, count] : s.histogramAll) {
        last = bucket;
        cumulative += count;
        if (cumulative * 100 >= b.allTotal * 99)
            break;
    }
    const int span = (last - b.first) / kBucketMs + 1;
    b.width = kBucketMs * ((span + kMostBars - 1) / kMostBars);
    // At least kFewestBars, so that a few answers of one time make a bar, not a wall.
    const int count = std::max(kFewestBars, (last - b.first) / b.width + 1);
    b.all.assign(static_cast<std::size_t>(count), 0);
    b.recent.assign(static_cast<std::size_t>(count), 0);
    auto place = [&](const std::map<int, int>& from, std::vector<int>& to, int& over) {
        for (const auto& [bucket, n] : from) {
            const int i = (bucket - b.first) / b.width;
            if (i >= count)
                over += n;
            else
                to[static_cast<std::size_t>(std::max(0, i))] += n;
        }
    };
    place(s.histogramAll, b.all, b.allOver);
    place(s.histogramRecent, b.recent, b.recentOver);
    return b;
}

}  // namespace

std::string LocalDateTime(std::int64_t utcMillis)
{
    return Strftime("%Y-%m-%d %H:%M", LocalTm(utcMillis));
}

int NearestSeries(const Picture& picture, double x)
{
    int best = -1;
    double distance = 0;
    for (std::size_t i = 0; i < picture.averagePoints.size(); ++i) {
        const double d = std::abs(picture.averagePoints[i].x - x);
        if (best < 0 || d < distance) {
            best = static_cast<int>(i);
            distance = d;
        }
    }
    return best;
}

Picture Compose(const ModeSummary* summary, int mode, const WindowRequest& request, const std::string& folder,
                double W, double H, const Measure& measure, int selected)
{
    Picture p;
    const double lineH = measure("Mg", false).h;
    const double row = std::ceil(lineH * 1.3);
    auto label = [&](const std::string& text, double x, double y, Ink ink, bool bold = false) {
        p.labels.push_back({text, x, y, ink, bold});
    };
    auto width = [&](const std::string& text, bool bold = false) { return measure(text, bold).w; };
    double minimumWidth = 0;
    auto needs = [&](double w) { minimumWidth = std::max(minimumWidth, w + 2 * kPad); };

    if (!summary) {
        // What happened, where the file is, that the game goes on and what to do.
        const std::string title = Lang(request, text::kUnreadable);
        label(title, kPad, kPad, Ink::Text, true);
        needs(std::min(width(title, true), 360.0));
        const std::string help = Format(Lang(request, text::kUnreadableHelp).c_str(), folder.c_str());
        double y = kPad + row * 1.3;
        for (const std::string& line : Wrap(help, " ", W - 2 * kPad, false, measure)) {
            label(line, kPad, y, Ink::Text);
            y += row;
        }
        p.minimum = {std::max(minimumWidth, 360.0), y + kPad};
        return p;
    }
    const ModeSummary& s = *summary;
    const double recordValue = request.records[static_cast<std::size_t>(std::clamp(mode, 0, 2))];

    // --- the header: title, record, the picked series -------------------------------
    double y = 4;
    const std::string title = Lang(request, text::kAverages);
    label(title, kPad, y, Ink::Text, true);
    needs(width(title, true));
    if (recordValue > 0.0) {
        const std::string record = Format(Lang(request, text::kRecord).c_str(), recordValue);
        needs(width(record));
        if (width(title, true) + 24 + width(record) > W - 2 * kPad)
            y += row;  // on a line of its own
        label(record, W - kPad - width(record), y, Ink::Record);
    }
    y += row;
    const double readoutY = y;
    y += row;

    // --- the last series, from the bottom up ------------------------------------------
    std::vector<Label> lastBlock;
    double blockH = 0;
    {
        const std::string lastTitle = Lang(request, text::kLastSeries);
        const std::string answers = Format(ChooseText(request.language, text::kAnswers, s.answers), s.answers);
        needs(std::max(width(lastTitle, true), width(answers)));
        const bool oneRow = width(lastTitle, true) + 24 + width(answers) <= W - 2 * kPad;
        lastBlock.push_back({lastTitle, kPad, 0, Ink::Text, true});
        lastBlock.push_back({answers, W - kPad - width(answers), oneRow ? 0 : row, Ink::Muted, false});
        blockH = oneRow ? row : 2 * row;
        if (s.last) {
            const std::string times = PlayedAt(*s.last) + ":  " + SeriesTimes(*s.last);
            for (const std::string& line : Wrap(times, ", ", W - 2 * kPad, false, measure)) {
                lastBlock.push_back({line, kPad, blockH, Ink::Text, false});
                needs(std::min(width(line), width(PlayedAt(*s.last) + ":  000, 000, 000")));
                blockH += row;
            }
            for (const std::string& line : Wrap(Figures(request, *s.last), "    ", W - 2 * kPad, true, measure)) {
                lastBlock.push_back({line, kPad, blockH, Ink::Text, true});
                blockH += row;
            }
        } else {
            lastBlock.push_back({Lang(request, text::kNoSeries), kPad, blockH, Ink::Muted, false});
            blockH += row;
        }
    }
    const double blockTop = H - kPad / 2 - blockH;
    for (Label l : lastBlock) {
        l.y += blockTop;
        p.labels.push_back(l);
    }

    // --- the histogram's heading (title and legend) ------------------------------------
    const std::string histTitle = Lang(request, text::kTimes);
    const std::string allText = Lang(request, text::kAllTime), recentText = Lang(request, text::kRecent);
    const double legendW = 14 + width(allText) + 24 + 14 + width(recentText);
    needs(std::max(width(histTitle, true), legendW));
    const bool legendBeside = width(histTitle, true) + 24 + legendW <= W - 2 * kPad;
    const double histHeadingH = legendBeside ? row : 2 * row;

    // --- what is left is shared by the two charts, each with its labels below ---------
    const double left = kPad + std::max(width("0000"), width("100%")) + 8, right = W - kPad - 6;
    const double shared = std::max(4 * lineH, blockTop - y - histHeadingH - 2 * row - 8);
    const Extent chartBox{right - left, shared * 0.56};
    const double chartX = left, chartY = y + lineH / 2;
    p.averagesBox = {chartX, chartY, chartBox.w, chartBox.h};
    const double histHeadingY = chartY + chartBox.h + row + 4;
    const double histY = histHeadingY + histHeadingH + lineH / 2;
    const double histH = std::max(2 * lineH, blockTop - row - 4 - histY);
    p.minimum = {std::max(minimumWidth, 2 * kPad + 260), H - shared + 8 * lineH};

    // --- series averages over time ----------------------------------------------------
    const std::size_t n = s.averages.size();
    if (n == 0) {
        label(Lang(request, text::kNoSeries), chartX + 10, chartY + chartBox.h / 2 - lineH / 2, Ink::Muted);
    } else {
        double lo = recordValue > 0.0 ? recordValue : s.averages.front().average, hi = lo;
        for (const auto& a : s.averages) {
            lo = std::min(lo, a.average);
            hi = std::max(hi, a.average);
        }
        const int tickCount = std::max(2, static_cast<int>(chartBox.h / (lineH * 2)));
        const double step = NiceStep(std::max(hi - lo, 10.0), tickCount);
        const bool flat = hi - lo < step;
        lo = std::floor(lo / step) * step - (flat ? step : 0);
        hi = std::ceil(hi / step) * step + (flat ? step : 0);
        if (hi <= lo)
            hi = lo + step;
        auto yOf = [&](double v) { return chartY + chartBox.h - (v - lo) / (hi - lo) * chartBox.h; };
        for (double v = lo; v <= hi + step / 2; v += step) {
            const double at = yOf(v);
            p.segments.push_back({{chartX, at}, {chartX + chartBox.w, at}, Ink::Grid});
            const std::string text = Format("%.0f", v);
            label(text, chartX - 6 - width(text), at - lineH / 2, Ink::Muted);
        }

        const std::int64_t t0 = s.averages.front().utcMillis, t1 = s.averages.back().utcMillis;
        // Spaced by time when the series span more than a day, else one after another.
        const bool byTime = t1 - t0 > 24LL * 3600 * 1000;
        const double x0 = chartX + 6, xw = chartBox.w - 12;
        auto xOfTime = [&](std::int64_t t) {
            return x0 + static_cast<double>(t - t0) / static_cast<double>(std::max<std::int64_t>(1, t1 - t0)) * xw;
        };
        auto xOf = [&](std::size_t i) {
            if (n == 1)
                return chartX + chartBox.w / 2;
            return byTime ? xOfTime(s.averages[i].utcMillis)
                          : x0 + static_cast<double>(i) / static_cast<double>(n - 1) * xw;
        };
        const double axisY = chartY + chartBox.h + 2;
        if (byTime) {
            double lastEnd = -1e9;
            for (const TimeTick& tick : TimeTicks(t0, t1, xw, measure)) {
                const double at = xOfTime(tick.at);
                p.segments.push_back({{at, chartY}, {at, chartY + chartBox.h}, Ink::Grid});
                const double w = width(tick.label);
                const double lx = std::clamp(at - w / 2, chartX, chartX + chartBox.w - w);
                if (lx > lastEnd + 8) {
                    label(tick.label, lx, axisY, Ink::Muted);
                    lastEnd = lx + w;
                }
            }
        } else {
            label(LocalDateTime(t0), chartX, axisY, Ink::Muted);
            if (n > 1) {
                const std::string end = LocalDateTime(t1).substr(11);
                label(end, chartX + chartBox.w - width(end), axisY, Ink::Muted);
            }
        }
        if (recordValue > 0.0) {
            p.recordY = yOf(recordValue);
            p.segments.push_back({{chartX, p.recordY}, {chartX + chartBox.w, p.recordY}, Ink::Record, 1.5, true});
        }

        p.averagePoints.reserve(n);
        for (std::size_t i = 0; i < n; ++i)
            p.averagePoints.push_back({xOf(i), yOf(s.averages[i].average)});
        if (n <= 200) {
            // Dots while they stay apart, so that each series can be told.
            p.lines.push_back({p.averagePoints, Ink::Line, 2.0});
            for (const Pt& at : p.averagePoints)
                p.dots.push_back({at, 3.5, Ink::Line});
        } else {
            // Many series make a band: each pixel column from its lowest to its highest
            // average, and the trend through it, the mean of the series around each one.
            const std::size_t window = std::max<std::size_t>(5, n / 40);
            std::vector<double> trend(n);
            double sum = 0;
            for (std::size_t i = 0; i < n; ++i) {
                sum += s.averages[i].average;
                if (i >= window)
                    sum -= s.averages[i - window].average;
                trend[i] = sum / static_cast<double>(std::min(i + 1, window));
            }
            Polyline trendLine{{}, Ink::Line, 2.5};
            std::size_t i = 0;
            while (i < n) {
                const double column = std::floor(p.averagePoints[i].x);
                double top = p.averagePoints[i].y, bottom = top, trendSum = 0, xs = 0;
                std::size_t count = 0;
                for (; i < n && std::floor(p.averagePoints[i].x) == column; ++i, ++count) {
                    top = std::min(top, p.averagePoints[i].y);
                    bottom = std::max(bottom, p.averagePoints[i].y);
                    trendSum += trend[i];
                    xs += p.averagePoints[i].x;
                }
                p.segments.push_back({{column + 0.5, top - 0.5}, {column + 0.5, bottom + 0.5}, Ink::Band});
                if (i >= window || i == n)
                    trendLine.points.push_back({xs / static_cast<double>(count), yOf(trendSum / static_cast<double>(count))});
            }
            p.lines.push_back(std::move(trendLine));
        }
        if (selected >= 0 && static_cast<std::size_t>(selected) < n) {
            const Pt at = p.averagePoints[static_cast<std::size_t>(selected)];
            p.segments.push_back({{at.x, chartY}, {at.x, chartY + chartBox.h}, Ink::Focus, 1.0, true});
            p.dots.push_back({at, 5.0, Ink::Focus, true});
            const auto& a = s.averages[static_cast<std::size_t>(selected)];
            label(LocalDateTime(a.utcMillis) + "   " + Format("%.1f ms", a.average), kPad, readoutY, Ink::Text);
        }
    }

    // --- histogram of single reaction times ----------------------------------------------
    label(histTitle, kPad, histHeadingY, Ink::Text, true);
    {
        const double legendY = legendBeside ? histHeadingY : histHeadingY + row;
        double x = W - kPad - width(recentText);
        label(recentText, x, legendY, Ink::Recent);
        p.bars.push_back({x - 14, legendY + lineH / 2 - 4.5, 9, 9, Ink::Recent});
        x -= 24 + width(allText);
        label(allText, x, legendY, Ink::AllTime);
        p.bars.push_back({x - 14, legendY + lineH / 2 - 4.5, 9, 9, Ink::AllTime});
    }
    const Buckets b = BucketsOf(s);
    if (b.allTotal > 0) {
        const int count = static_cast<int>(b.all.size());
        const bool overflow = b.allOver > 0 || b.recentOver > 0;
        const int slots = count + (overflow ? 2 : 0);  // a gap before the overflow bar
        const double bw = chartBox.w / slots;
        const double allTotal = b.allTotal, recentTotal = std::max(1, b.recentTotal);
        double top = 0;
        for (int i = 0; i < count; ++i)
            top = std::max({top, b.all[static_cast<std::size_t>(i)] / allTotal,
                            b.recent[static_cast<std::size_t>(i)] / recentTotal});
        top = std::max({top, b.allOver / allTotal, b.recentOver / recentTotal, 1e-9});
        // The share axis in whole percent, ticked so that the peak can be read off.
        const int shareTicks = std::max(1, static_cast<int>(histH / (lineH * 1.6)));
        const double shareStep = std::max(1.0, NiceStep(top * 100, shareTicks));
        const double topShare = std::ceil(top * 100 / shareStep) * shareStep;
        auto yOfShare = [&](double share) { return histY + histH - share * 100 / topShare * histH; };
        for (double v = 0; v <= topShare + shareStep / 2; v += shareStep) {
            const double at = yOfShare(v / 100);
            p.segments.push_back({{chartX, at}, {chartX + chartBox.w, at}, Ink::Grid});
            const std::string text = Format("%.0f%%", v);
            label(text, chartX - 6 - width(text), at - lineH / 2, Ink::Muted);
        }
        auto bars = [&](int slot, int all, int recent) {
            const double x = chartX + slot * bw;
            const double h1 = histH * (all / allTotal) * 100 / topShare;
            const double h2 = histH * (recent / recentTotal) * 100 / topShare;
            const double w = std::max(1.0, bw * 0.42);
            if (all > 0)
                p.bars.push_back({x + bw * 0.08, histY + histH - h1, w, h1, Ink::AllTime});
            if (recent > 0)
                p.bars.push_back({x + bw * 0.5, histY + histH - h2, w, h2, Ink::Recent});
        };
        for (int i = 0; i < count; ++i)
            bars(i, b.all[static_cast<std::size_t>(i)], b.recent[static_cast<std::size_t>(i)]);
        // The ms axis: ticks at round times the labels of which fit.
        const double axisY = histY + histH + 2;
        const int end = b.first + count * b.width;
        const double msW = width("0000") + 16;
        const double msStep = std::max<double>(b.width, NiceStep(end - b.first, std::max(1, static_cast<int>(count * bw / msW))));
        double lastEnd = -1e9;
        for (double v = std::ceil(b.first / msStep) * msStep; v <= end; v += msStep) {
            const double at = chartX + (v - b.first) / b.width * bw;
            const std::string text = Format("%.0f", v);
            const double lx = std::clamp(at - width(text) / 2, chartX, chartX + chartBox.w - width(text));
            p.segments.push_back({{at, histY + histH}, {at, histY + histH + 3}, Ink::Muted});
            if (lx > lastEnd + 6) {
                label(text, lx, axisY, Ink::Muted);
                lastEnd = lx + width(text);
            }
        }
        if (overflow) {
            bars(count + 1, b.allOver, b.recentOver);
            const std::string text = Format("\xE2\x89\xA5%d", end);  // the rest: at least that
            const double lx = std::min(chartX + (count + 1.5) * bw - width(text) / 2, chartX + chartBox.w - width(text));
            if (lx > lastEnd + 6)
                label(text, lx, axisY, Ink::Muted);
        }
        p.segments.push_back({{chartX, histY + histH}, {chartX + chartBox.w, histY + histH}, Ink::Grid});
    }
    return p;
}

std::string Describe(const ModeSummary* summary, int mode, const WindowRequest& request, int selected)
{
    if (!summary)
        return Lang(request, text::kUnreadable);
    const ModeSummary& s = *summary;
    std::string said = Lang(request, text::kMode[std::clamp(mode, 0, 2)]) + ". ";
    if (s.averages.empty()) {
        said += Lang(request, text::kNoSeries);
    } else {
        const auto best = std::min_element(s.averages.begin(), s.averages.end(),
                                           [](const auto& a, const auto& b) { return a.average < b.average; });
        said += Format(Lang(request, text::kDescribeSeries).c_str(), static_cast<int>(s.averages.size()),
                       LocalDate(s.averages.front().utcMillis).c_str(), LocalDate(s.averages.back().utcMillis).c_str(),
                       s.averages.back().average, best->average);
    }
    const double record = request.records[static_cast<std::size_t>(std::clamp(mode, 0, 2))];
    if (record > 0.0)
        said += " " + Format(Lang(request, text::kRecord).c_str(), record) + ".";
    const Buckets b = BucketsOf(s);
    if (b.allTotal > 0) {
        // The middle half of the answers, and the bucket most of them fell in.
        int cumulative = 0, q1 = -1, q3 = -1, peak = b.first, peakCount = 0;
        for (const auto& [bucket, count] : s.histogramAll) {
            cumulative += count;
            if (q1 < 0 && cumulative * 4 >= b.allTotal)
                q1 = bucket;
            if (q3 < 0 && cumulative * 4 >= b.allTotal * 3)
                q3 = bucket + kBucketMs;
            if (count > peakCount) {
                peakCount = count;
                peak = bucket;
            }
        }
        said += " " + Format(Lang(request, text::kDescribeTimes).c_str(), q1, q3, peak, peak + kBucketMs);
    }
    if (s.last)
        said += " " + Lang(request, text::kLastSeries) + " " + PlayedAt(*s.last) + ": " + SeriesTimes(*s.last) +
                "; " + Figures(request, *s.last) + ".";
    if (selected >= 0 && static_cast<std::size_t>(selected) < s.averages.size()) {
        const auto& a = s.averages[static_cast<std::size_t>(selected)];
        said = LocalDateTime(a.utcMillis) + ": " + Format("%.1f ms", a.average) + ". " + said;
    }
    return said;
}

}  // namespace history::chart
