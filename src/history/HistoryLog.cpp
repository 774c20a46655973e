#include "history/HistoryLog.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace history {

namespace {

constexpr const char* kVerdictNames[] = {"reaction", "mistake", "false start", "withheld"};

}  // namespace

const char* VerdictName(Verdict verdict)
{
    return kVerdictNames[static_cast<int>(verdict)];
}

bool ParseVerdict(const std::string& name, Verdict* verdict)
{
    for (int i = 0; i < 4; ++i)
        if (name == kVerdictNames[i]) {
            *verdict = static_cast<Verdict>(i);
            return true;
        }
    return false;
}

void Summarize(Series& series)
{
    const auto& t = series.times;
    if (t.empty())
        return;
    const double n = static_cast<double>(t.size());
    series.average = std::accumulate(t.begin(), t.end(), 0.0) / n;
    std::vector<int> sorted(t);
    std::sort(sorted.begin(), sorted.end());
    const std::size_t mid = sorted.size() / 2;
    series.median = sorted.size() % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2.0;
    series.best = sorted.front();
    double squares = 0.0;
    for (int v : t)
        squares += (v - series.average) * (v - series.average);
    series.sd = t.size() > 1 ? std::sqrt(squares / (n - 1.0)) : 0.0;
}

}  // namespace history
