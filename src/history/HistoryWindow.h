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
constexpr LangText kRecent = {"last 30 days", "poslednie 30 dnej", "paskutinių 30 dienų", "paskutiniu 30 dienu"};
constexpr LangText kLastSeries = {"Last series", "Poslednjaja serija", "Paskutinė serija", "Paskutine serija"};
constexpr LangText kAverage = {"average", "srednee", "vidurkis", "vidurkis"};
constexpr LangText kMedian = {"median", "mediana", "mediana", "mediana"};
constexpr LangText kSd = {"SD", "SKO", "SN", "SN"};
constexpr LangText kBest = {"best", "lutcqj", "geriausias", "geriausias"};
constexpr CountedText kAnswers = {{"%d answer", "%d atvet", "%d atsakymas", "%d atsakymas"},
                                  {"%d answers", "%d atveta", "%d atsakymai", "%d atsakymai"},
                                  {"%d answers", "%d atvetov", "%d atsakymų", "%d atsakymu"}};
constexpr LangText kNoSeries = {"No series yet.", "Serij escio net.", "Serijų dar nėra.", "Seriju dar nera."};
constexpr LangText kUnreadable = {"The history 'kbr_dorin.db' cannot be read.",
                                  "Istoriju 'kbr_dorin.db' nel'zja protcitat'.",
                                  "Istorijos 'kbr_dorin.db' perskaityti negalima.",
                                  "Istorijos 'kbr_dorin.db' perskaityti negalima."};
// Below it: where the file is (%s), and what to do.
constexpr LangText kUnreadableHelp = {
    "It is in %s. The game goes on without it. To start a new history, close the program and move the file "
    "elsewhere.",
    "On v %s. Igra prodolzhaetsa bez nee. Chtoby nachat' novuju istoriju, zakrojte programmu i peremestite fail.",
    "Jis yra %s. Žaidimas tęsiasi be jos. Norėdami pradėti naują istoriją, uždarykite programą ir perkelkite failą.",
    "Jis yra %s. Zaidimas tesiasi be jos. Noredami pradeti nauja istorija, uzdarykite programa ir perkelkite faila."};
// What a screen reader is told of the chart.
constexpr LangText kDescribeSeries = {
    "Series: %d, from %s to %s; latest average %.1f ms, best %.1f ms.",
    "Serij: %d, s %s po %s; poslednee srednee %.1f ms, lutcqee %.1f ms.",
    "Serijų: %d, nuo %s iki %s; paskutinis vidurkis %.1f ms, geriausias %.1f ms.",
    "Seriju: %d, nuo %s iki %s; paskutinis vidurkis %.1f ms, geriausias %.1f ms."};
constexpr LangText kDescribeTimes = {
    "Half of the reaction times lie between %d and %d ms; most are %d to %d ms.",
    "Polovina vremen reaktsii mezhdu %d i %d ms; bol'she vsego ot %d do %d ms.",
    "Pusė reakcijos laikų yra tarp %d ir %d ms; daugiausia nuo %d iki %d ms.",
    "Puse reakcijos laiku yra tarp %d ir %d ms; daugiausia nuo %d iki %d ms."};
constexpr LangText kExport = {"Export CSV...", "Eksport CSV...", "Eksportuoti CSV...", "Eksportuoti CSV..."};
constexpr LangText kClose = {"Close", "Zakrqt'", "Uždaryti", "Uzdaryti"};
// The window's controls, each with its access key (after the &).
constexpr LangText kModeButton[3] = {{"Mode &A", "Rejqm &A", "Režimas &A", "Rezimas &A"},
                                     {"Mode &B", "Rejqm &B", "Režimas &B", "Rezimas &B"},
                                     {"Mode &C", "Rejqm &C", "Režimas &C", "Rezimas &C"}};
constexpr LangText kExportButton = {"&Export CSV...", "&Eksport CSV...", "&Eksportuoti CSV...",
                                    "&Eksportuoti CSV..."};
constexpr LangText kCloseButton = {"C&lose", "&Zakrqt'", "&Uždaryti", "&Uzdaryti"};
constexpr CountedText kExported = {
    {"%d answer written to %s.", "%d atvet zapisan v %s.", "%d atsakymas įrašytas į %s.", "%d atsakymas irasytas i %s."},
    {"%d answers written to %s.", "%d atveta zapisano v %s.", "%d atsakymai įrašyti į %s.", "%d atsakymai irasyti i %s."},
    {"%d answers written to %s.", "%d atvetov zapisano v %s.", "%d atsakymų įrašyta į %s.",
     "%d atsakymu irasyta i %s."}};
// Asked before an export replaces a file of that name (%s), with its two answers.
constexpr LangText kReplace = {"%s exists already. Replace it?", "%s uzhe est'. Zamenit' ego?",
                               "%s jau yra. Pakeisti jį?", "%s jau yra. Pakeisti ji?"};
constexpr LangText kReplaceYes = {"&Replace", "&Zamenit'", "&Pakeisti", "&Pakeisti"};
constexpr LangText kReplaceNo = {"&Cancel", "&Otmena", "&Atšaukti", "&Atsaukti"};
constexpr LangText kExportFailed = {"Could not write %s.", "Ne udalos' zapisat' %s.", "Nepavyko įrašyti %s.",
                                    "Nepavyko irasyti %s."};
}  // namespace text

}  // namespace history
