// The History window's picture of one mode, worked out without a toolkit: where
// every text, line, bar and dot goes for a given size and text measure, and the
// same figures as sentences for a screen reader. A window only draws it, in the
// colours of its theme.
//
// The series averages over time: a dot per series while they stay apart; many
// series make a band, drawn a pixel column at a time (its lowest to its highest
// average) with the trend through it, so that the cost stays the same for any
// number of series. The time axis is ticked by days, weeks, months or years.
// The histogram of single reaction times: both the all-time and the last-30-days
// shares side by side in each bucket, up to the 99th percentile of the answers and
// the rest in one overflow bar, with ticks on both axes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "history/HistoryWindow.h"
#include "history/Summary.h"

namespace history::chart {

// What a piece is drawn with; the window gives each a colour of its theme.
enum class Ink { Text, Muted, Grid, Line, Band, Record, Recent, AllTime, Focus };

struct Pt {
    double x = 0, y = 0;
};
struct Label {
    std::string text;  // UTF-8
    double x, y;       // its top left
    Ink ink;
    bool bold = false;
};
struct Segment {
    Pt a, b;
    Ink ink;
    double width = 1.0;
    bool dashed = false;
};
struct Bar {
    double x, y, w, h;
    Ink ink;
};
struct Polyline {
    std::vector<Pt> points;
    Ink ink;
    double width = 1.0;
};
struct Dot {
    Pt at;
    double radius;
    Ink ink;
    bool ring = false;  // an outline around it, for the selected series
};

struct Extent {
    double w = 0, h = 0;
};
struct Box {
    double x = 0, y = 0, w = 0, h = 0;
};
// The size a text takes when drawn (UTF-8; bold or not).
using Measure = std::function<Extent(const std::string& text, bool bold)>;

struct Picture {
    std::vector<Segment> segments;  // grid, axes, record line, band
    std::vector<Polyline> lines;    // the averages, their trend
    std::vector<Bar> bars;
    std::vector<Dot> dots;
    std::vector<Label> labels;
    std::vector<Pt> averagePoints;  // where each series average stands, oldest first
    double recordY = -1.0;          // the record line; -1: none
    Box averagesBox;                // the chart of the averages, where a series is picked
    // The smallest size at which every text of the picture fits.
    Extent minimum;
};

// The picture of summary (null: the history could not be read; folder then says
// where it is) at width by height. selected: the series picked by the keyboard or
// the pointer (-1: none), whose date, time and average are shown.
Picture Compose(const ModeSummary* summary, int mode, const WindowRequest& request, const std::string& folder,
                double width, double height, const Measure& measure, int selected = -1);

// The series nearest to x among the points (-1 when there are none).
int NearestSeries(const Picture& picture, double x);

// The figures of the picture as sentences, in the window's language: what a screen
// reader says of the chart, and of the series picked (-1: none).
std::string Describe(const ModeSummary* summary, int mode, const WindowRequest& request, int selected = -1);

// The date and time of day of a moment (UTC ms) as the local clock showed it then.
std::string LocalDateTime(std::int64_t utcMillis);

}  // namespace history::chart
