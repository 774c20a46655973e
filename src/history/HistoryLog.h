// The history: every answer and every finished series, kept for good so that a
// person can see their progress. The view hands each entry over; where and how it
// is kept is the implementation's (see sqlite/).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace history {

enum class Verdict { Reaction, Mistake, FalseStart, Withheld };

// The words for a verdict in the log and in its export; Parse gives false for
// anything else.
const char* VerdictName(Verdict verdict);
bool ParseVerdict(const std::string& name, Verdict* verdict);

struct Answer {
    std::int64_t utcMillis = 0;  // since the epoch
    int utcOffsetMinutes = 0;    // of the local time then
    char mode = 'a';             // 'a', 'b', 'c'
    std::string colour;          // of the square: black, red, green, yellow, blue; empty for a false start
    Verdict verdict = Verdict::Reaction;
    int shownMs = -1;            // the time on the screen; -1 where none was shown
    int rawMs = -1;              // measured, before the correction; -1 where nothing was measured
    int waitMs = 0;              // the random wait before the square
    char language = 'E';
    std::string displayTime;     // how the square's onset was taken
    std::string stampSource;     // what the answer's moment came from
};

// An answer as it was kept, with its number in the history.
struct StoredAnswer {
    std::int64_t id = 0;
    Answer answer;
};

struct Series {
    std::int64_t utcMillis = 0;
    int utcOffsetMinutes = 0;
    char mode = 'a';
    std::vector<int> times;  // the ten, in order
    double average = 0.0;
    double median = 0.0;
    double sd = 0.0;         // sample standard deviation
    int best = 0;
    bool sessionRecord = false;
    bool totalRecord = false;
};

// Fills in average, median, sd and best from times.
void Summarize(Series& series);

// Why the history stopped; None while it works.
// Link: the database's name is a link that is not followed (the records files'
// rule: only a link the user alone could have made); NotAFile: a folder or the like
// stands under its name.
enum class Problem { None, Locked, ReadOnly, Full, Corrupt, Newer, Link, NotAFile, Other };

class Log {
public:
    virtual ~Log() = default;
    // Keeps the answer and, when it ended one, its series, together or not at all.
    // A problem stops the log: later calls do nothing and give None. Locked alone
    // does not: the database is held by another program, and a later call may find
    // it free.
    virtual Problem Add(const Answer& answer, const Series* series) = 0;
};

}  // namespace history
