// The History window's picture, as the chart model lays it out: texts that fit and
// never run into each other at any text size and in every language, a histogram
// that one slow answer does not squeeze, both of its series in sight, axes that
// can be read, and a cost that does not grow with the number of series.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "history/chart/ChartModel.h"

using namespace history;
using namespace history::chart;

namespace {

// A face of fixed pitch: scale 1.0 is 7 by 15 pixels a character, bold a pixel wider.
Measure FixedFace(double scale)
{
    return [scale](const std::string& text, bool bold) {
        std::size_t characters = 0;
        for (const unsigned char c : text)
            characters += (c & 0xC0) != 0x80;  // UTF-8: one per character
        return Extent{static_cast<double>(characters) * (bold ? 8 : 7) * scale, 15 * scale};
    };
}

constexpr std::int64_t kDay = 24LL * 3600 * 1000;
constexpr std::int64_t kStart = 1'767'225'600'000;  // 2026-01-01

ModeSummary Played(int series, std::int64_t every, bool slowOne = false)
{
    ModeSummary s;
    for (int i = 0; i < series; ++i)
        s.averages.push_back({kStart + i * every, 280.0 + (i * 37 % 60)});
    for (int ms = 200; ms < 400; ms += kBucketMs)
        s.histogramAll[ms] = s.histogramRecent[ms] = 20 + (ms - 200) / 10 * ((ms < 300) ? 3 : -3) + 30;
    if (slowOne)
        s.histogramAll[1900] = s.histogramRecent[1900] = 1;
    Series last;
    last.utcMillis = kStart + (series - 1) * every;
    last.utcOffsetMinutes = 120;
    last.times = {301, 288, 275, 310, 266, 290, 281, 299, 270, 305};
    Summarize(last);
    s.last = last;
    s.answers = series * 10;
    return s;
}

struct Area {
    double x0, y0, x1, y1;
};
Area AreaOf(const Label& l, const Measure& measure)
{
    const Extent e = measure(l.text, l.bold);
    return {l.x, l.y, l.x + e.w, l.y + e.h};
}

}  // namespace

// At text scale 1 and 1.5, in every language, at the window's first size and a
// narrow one: no label runs into another, and every one lies inside the window.
TEST(ChartModel, TextsStayApartAndInsideAtAnyScaleAndLanguage)
{
    const ModeSummary s = Played(40, kDay / 3, true);
    for (const char language : {'E', 'R', 'L', 'T'})
        for (const double scale : {1.0, 1.5})
            for (const double width : {640.0, 480.0}) {
                SCOPED_TRACE(testing::Message() << language << " at " << scale << ", " << width << " wide");
                const Measure measure = FixedFace(scale);
                WindowRequest request;
                request.language = language;
                request.records = {183.4, 0, 0};
                const double height = 420 * scale;
                const Picture p = Compose(&s, 0, request, "/home/x", width, height, measure, 5);
                ASSERT_GT(p.labels.size(), 20u);
                for (std::size_t i = 0; i < p.labels.size(); ++i) {
                    const Area a = AreaOf(p.labels[i], measure);
                    EXPECT_GE(a.x0, 0) << p.labels[i].text;
                    EXPECT_LE(a.x1, width) << p.labels[i].text;
                    EXPECT_GE(a.y0, 0) << p.labels[i].text;
                    EXPECT_LE(a.y1, height) << p.labels[i].text;
                    for (std::size_t j = i + 1; j < p.labels.size(); ++j) {
                        const Area b = AreaOf(p.labels[j], measure);
                        const bool apart = a.x1 <= b.x0 || b.x1 <= a.x0 || a.y1 <= b.y0 || b.y1 <= a.y0;
                        EXPECT_TRUE(apart) << "'" << p.labels[i].text << "' runs into '" << p.labels[j].text << "'";
                    }
                }
                EXPECT_LE(p.minimum.w, 640.0) << "fits the window's first width";
            }
}

// One answer of 1900 ms among answers of 200 to 400 ms: the regular bars keep most
// of the width and the slow one stands in an overflow bar of its own, labelled.
TEST(ChartModel, ASlowAnswerGoesToAnOverflowBarAndSqueezesNothing)
{
    const ModeSummary s = Played(3, kDay, true);
    const Measure measure = FixedFace(1.0);
    const Picture p = Compose(&s, 0, WindowRequest{}, "", 640, 420, measure);
    double regularRight = 0, left = 1e9;
    int allTime = 0;
    for (const Bar& b : p.bars)
        if (b.ink == Ink::AllTime && b.h > 0 && b.w < 50) {
            ++allTime;
            left = std::min(left, b.x);
        }
    ASSERT_GT(allTime, 10);
    std::vector<double> xs;
    for (const Bar& b : p.bars)
        if (b.ink == Ink::AllTime && b.w < 50 && b.y > 100)
            xs.push_back(b.x);
    std::sort(xs.begin(), xs.end());
    regularRight = xs[xs.size() - 2];  // the last is the overflow bar
    const double span = xs.back() - left;
    EXPECT_GT((regularRight - left) / span, 0.8) << "the regular bars take most of the width";
    const bool overflowLabel = std::any_of(p.labels.begin(), p.labels.end(),
                                           [](const Label& l) { return l.text.rfind("\xE2\x89\xA5", 0) == 0; });
    EXPECT_TRUE(overflowLabel) << "the overflow bar says from what time on";
}

// Every answer recent: the all-time and the last-30-days bars of a bucket stand
// side by side, so neither hides the other.
TEST(ChartModel, BothHistogramsStayInSight)
{
    const ModeSummary s = Played(3, kDay);
    const Picture p = Compose(&s, 0, WindowRequest{}, "", 640, 420, FixedFace(1.0));
    std::vector<Bar> all, recent;
    for (const Bar& b : p.bars)
        if (b.w > 0 && b.w < 50 && b.h > 0 && b.y > 150)
            (b.ink == Ink::AllTime ? all : recent).push_back(b);
    ASSERT_EQ(all.size(), recent.size());
    ASSERT_FALSE(all.empty());
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_LE(all[i].x + all[i].w, recent[i].x + 0.01) << "bucket " << i;
        EXPECT_NEAR(all[i].h, recent[i].h, 0.01) << "the same shares";
    }
}

// The axes carry ticks a person can read the values off: several values up the
// averages and the shares, round times along the histogram, months along a year.
TEST(ChartModel, AxesAreTicked)
{
    const ModeSummary s = Played(52, 7 * kDay);
    const Picture p = Compose(&s, 0, WindowRequest{}, "", 640, 420, FixedFace(1.0));
    int percent = 0, months = 0, hundreds = 0;
    for (const Label& l : p.labels) {
        percent += !l.text.empty() && l.text.back() == '%';
        months += l.text.size() == 7 && l.text[4] == '-';
        hundreds += l.text == "200" || l.text == "250" || l.text == "300" || l.text == "350";
    }
    EXPECT_GE(percent, 3);
    EXPECT_GE(months, 4) << "a year of series, ticked by months";
    EXPECT_GE(hundreds, 3);
}

// 100,000 series cost what a few hundred do: one band segment per pixel column at
// most, and a trend of as many points.
TEST(ChartModel, ManySeriesAreDrawnAColumnAtATime)
{
    const ModeSummary s = Played(100000, 60 * 1000);
    const Picture p = Compose(&s, 0, WindowRequest{}, "", 640, 420, FixedFace(1.0));
    EXPECT_EQ(p.averagePoints.size(), 100000u);
    EXPECT_LT(p.segments.size(), 800u);
    std::size_t points = 0;
    for (const Polyline& l : p.lines)
        points += l.points.size();
    EXPECT_LT(points, 700u);
    EXPECT_TRUE(p.dots.empty());
}

// The last series says when it was played (its own clock's time of day), and a
// picked series its date, time and average, on the screen and to a screen reader.
TEST(ChartModel, TimesOfDayAreShownAndDescribed)
{
    const ModeSummary s = Played(3, kDay);
    WindowRequest request;
    const Picture p = Compose(&s, 0, request, "", 640, 420, FixedFace(1.0), 1);
    const std::string played = "2026-01-03 02:00";  // 00:00 UTC, two hours ahead
    const bool lastShown = std::any_of(p.labels.begin(), p.labels.end(),
                                       [&](const Label& l) { return l.text.rfind(played, 0) == 0; });
    EXPECT_TRUE(lastShown);
    const std::string picked = LocalDateTime(kStart + kDay) + "   " + "317.0 ms";
    const bool pickedShown = std::any_of(p.labels.begin(), p.labels.end(),
                                         [&](const Label& l) { return l.text == picked; });
    EXPECT_TRUE(pickedShown) << picked;
    const std::string said = Describe(&s, 0, request, 1);
    for (const std::string& part : {LocalDateTime(kStart + kDay), std::string("317.0 ms"), std::string("Series: 3"),
                                    played, std::string("average 288.5")})
        EXPECT_NE(said.find(part), std::string::npos) << part << " in: " << said;
    EXPECT_EQ(NearestSeries(p, p.averagePoints[2].x - 1), 2);
}
