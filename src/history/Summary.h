// What the History window shows of each mode, as read from the history.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "history/HistoryLog.h"

namespace history {

// What the History window shows of one mode.
struct ModeSummary {
    struct Point {
        std::int64_t utcMillis;
        double average;
    };
    std::vector<Point> averages;           // of every series, oldest first
    std::map<int, int> histogramAll;       // reaction time bucket (ms, its lower end) -> answers
    std::map<int, int> histogramRecent;    // the same over the last 30 days
    std::optional<Series> last;            // the latest series
    int answers = 0;                       // every answer of the mode, whatever its verdict
};

struct Summary {
    std::array<ModeSummary, 3> modes;  // A, B, C
};

// The width of a histogram bucket, in ms.
constexpr int kBucketMs = 10;

}  // namespace history
