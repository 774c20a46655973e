// What the History window is opened with, and its texts in the four languages.
#pragma once

#include <array>

#include "view/Language.h"

namespace history {

struct WindowRequest {
    char language = 'E';
    char mode = 'a';  // the mode shown first
    std::array<double, 3> records = {0.0, 0.0, 0.0};  // the all-time record of each mode; 0.0: none
};

namespace text {
constexpr LangText kTitle = {"History", "Istorija", "Istorija", "Istorija"};
constexpr LangText kMode[3] = {{"Mode A", "Rejqm A", "Režimas A", "Rezimas A"},
                               {"Mode B", "Rejqm B", "Režimas B", "Rezimas B"},
                               {"Mode C", "Rejqm C", "Režimas C", "Rezimas C"}};
constexpr LangText kAverages = {"Series averages, ms", "Srednie serij, ms", "Serijų vidurkiai, ms",
                                "Seriju vidurkiai, ms"};
constexpr LangText kRecord = {"total record %.1f ms", "absaliutnq rekord %.1f ms", "absoliutus rekordas %.1f ms",
                              "absoliutus rekordas %.1f ms"};
constexpr LangText kTimes = {"Reaction times, ms", "Vremena reaktsii, ms", "Reakcijos laikai, ms",
                             "Reakcijos laikai, ms"};
constexpr LangText kAllTime = {"all time", "za vse vremja", "per visą laiką", "per visa laika"};
constexpr LangText kRecent = {"last 30 days", "poslednie 30 dnej", "paskutinės 30 dienų", "paskutines 30 dienu"};
constexpr LangText kLastSeries = {"Last series", "Poslednjaja serija", "Paskutinė serija", "Paskutine serija"};
constexpr LangText kAverage = {"average", "srednee", "vidurkis", "vidurkis"};
constexpr LangText kMedian = {"median", "mediana", "mediana", "mediana"};
constexpr LangText kSd = {"SD", "SKO", "SN", "SN"};
constexpr LangText kBest = {"best", "lutcqj", "geriausias", "geriausias"};
constexpr LangText kAnswers = {"%d answers", "%d atvetov", "%d atsakymų", "%d atsakymu"};
constexpr LangText kNoSeries = {"No series yet.", "Serij escio net.", "Serijų dar nėra.", "Seriju dar nera."};
constexpr LangText kUnreadable = {"The history 'kbr_dorin.db' cannot be read.",
                                  "Istoriju 'kbr_dorin.db' nel'zja protcitat'.",
                                  "Istorijos 'kbr_dorin.db' perskaityti negalima.",
                                  "Istorijos 'kbr_dorin.db' perskaityti negalima."};
constexpr LangText kExport = {"Export CSV...", "Eksport CSV...", "Eksportuoti CSV...", "Eksportuoti CSV..."};
constexpr LangText kClose = {"Close", "Zakrqt'", "Uždaryti", "Uzdaryti"};
constexpr LangText kExported = {"%d answers written to %s.", "%d atvetov zapisano v %s.",
                                "%d atsakymų įrašyta į %s.", "%d atsakymu irasyta i %s."};
constexpr LangText kExportFailed = {"Could not write %s.", "Ne udalos' zapisat' %s.", "Nepavyko įrašyti %s.",
                                    "Nepavyko irasyti %s."};
}  // namespace text

}  // namespace history
