// The result screen of the task page: series of 10, their average and the records.
#include <charconv>

#include "view/Format.h"
#include "view/Language.h"
#include "view/engine/SeriesLabel.h"
#include "view/VeskView.h"

namespace {

constexpr unsigned kSeriesBeepHz = 4000;
constexpr unsigned kSeriesBeepMs = 20;

constexpr LangText kModeTitle[3] = {
    {"Mode A: finding reaction.", "Rejqm A: reaktsqya naxajdeniya (prastaya).", "Režimas A: radimo reakcija.",
     "Rezimas A: radimo reakcija."},
    {"Mode B: distinction reaction.", "Rejqm B: reaktsqya razlitceniya.", "Režimas B: skyrimo reakcija.",
     "Rezimas B: skyrimo reakcija."},
    {"Mode C: selective reaction.", "Rejqm C: reaktsqya vqbara (selektivnaya).", "Režimas C: selektyvinė reakcija.",
     "Rezimas C: selektyvine reakcija."},
};
constexpr LangText kAverageText = {"%.1f ms - average in series of 10 attempts.",
                                   "%.1f ms - srednee v serii iz 10 papqtak.",
                                   "%.1f ms - vidurkis serijoj iš 10 bandymų.",
                                   "%.1f ms - vidurkis serijoj is 10 bandymu."};
constexpr LangText kSessionRecordText = {"%.1f ms - session record.", "%.1f ms - rekord sesii.",
                                         "%.1f ms - sesijos rekordas.", "%.1f ms - sesijos rekordas."};
constexpr LangText kTotalRecordText = {"%.1f ms - total record.", "%.1f ms - absaliutnq rekord.",
                                       "%.1f ms - absoliutus rekordas.", "%.1f ms - absoliutus rekordas."};
constexpr LangText kEnterHint = {"[Enter] - next game.", "[Enter] - sleduyuctciaya seriya.",
                                 "[Enter] - sekanti serija.", "[Enter] - sekanti serija."};
constexpr LangText kEscHint = {"[Esc] - index page.", "[Esc] - indeksnaya stranitsa.", "[Esc] - indekso puslapis.",
                               "[Esc] - indekso puslapis."};

}  // namespace

void CVeskView::ShowResults()
{
    CVeskDoc& doc = GetDocument();
    ClearClientArea();
    ShowModeTitle();
    ShowAttemptResult();  // a wrong or early attempt has set m_nReaction to 0 by now
    ShowSeriesList();

    bool seriesEnded = false, sessionRecord = false, totalRecord = false;
    if (!doc.m_bSeriesComplete && doc.m_nReaction > 0) {
        if (!doc.m_bPassive && !doc.m_bMistake && !doc.m_bFalseStart) {
            doc.m_dSeriesSum += doc.m_nReaction;
            doc.m_dSeriesCount += 1.0;
            m_seriesTimes.push_back(doc.m_nReaction);
        }
        if (doc.m_dSeriesCount == doc.m_dSeriesLength) {
            ShowSeriesAverage();
            const int i = ModeIndex(doc.m_chMode);
            seriesEnded = true;
            if (i >= 0 && (doc.m_dSeriesAverage < doc.m_dSessionRecord[i] || doc.m_dSessionRecord[i] == 0.0)) {
                doc.m_dSessionRecord[i] = doc.m_dSeriesAverage;
                sessionRecord = true;
                totalRecord = doc.m_dSeriesAverage < doc.m_dTotalRecord[i] || doc.m_dTotalRecord[i] == 0.0;
            }
            ShowNextGameHint();
            ShowIndexPageHint();
            m_platform.sound.Beep(kSeriesBeepHz, kSeriesBeepMs);
        }
    }

    ShowRecords();
    if (doc.m_bSeriesComplete) {  // every repaint of a complete series shows all of it
        ShowSeriesAverage();
        ShowNextGameHint();
        ShowIndexPageHint();
    }
    if (m_bAnswerToLog)  // drawn: now it goes to the history
        LogAnswer(seriesEnded, sessionRecord, totalRecord);
    doc.m_bPassive = false;
    doc.m_bFalseStart = false;
    doc.m_bMistake = false;
}

void CVeskView::ShowModeTitle()
{
    const CVeskDoc& doc = GetDocument();
    const int i = ModeIndex(doc.m_chMode);
    if (i >= 0)
        DrawTextAt(doc.m_nRightX, doc.m_nTitleY, ChooseText(doc.m_chLanguage, kModeTitle[i]));
}

void CVeskView::ShowSeriesList()
{
    CVeskDoc& doc = GetDocument();
    if (!doc.m_bSeriesComplete && doc.m_nReaction > 0 && !doc.m_bPassive && !doc.m_bMistake &&
        !doc.m_bFalseStart) {
        // The count is still that of the attempts before this one.
        const auto end = std::to_chars(doc.m_szNumber, doc.m_szNumber + sizeof doc.m_szNumber - 1, doc.m_nReaction).ptr;
        *end = '\0';
        if (doc.m_dSeriesCount < 5.0) {
            doc.m_strSeriesList += doc.m_szNumber;
            doc.m_strSeriesList += ", ";
        } else {
            doc.m_strSeriesList2 += doc.m_szNumber;
            doc.m_strSeriesList2 += doc.m_dSeriesCount + 1.0 == doc.m_dSeriesLength ? "." : ", ";
        }
    }
    if (!doc.m_strSeriesList.empty()) {
        doc.m_strSeriesLabel = ChooseText(doc.m_chLanguage, kSeriesLabel);
        DrawTextAt(doc.m_nRightX, doc.m_nSeriesY, doc.m_strSeriesLabel + doc.m_strSeriesList);
        DrawTextAt(doc.m_nRightX, doc.m_nSeries2Y, doc.m_strSeriesList2);
    }
}

void CVeskView::ShowSeriesAverage()
{
    CVeskDoc& doc = GetDocument();
    doc.m_dSeriesAverage = doc.m_dSeriesSum / doc.m_dSeriesLength;
    doc.m_strAverageLine = Format(ChooseText(doc.m_chLanguage, kAverageText), doc.m_dSeriesAverage);
    DrawTextAt(doc.m_nRightX, doc.m_nAverageY, doc.m_strAverageLine);
}

void CVeskView::ShowRecords()
{
    const CVeskDoc& doc = GetDocument();
    const int i = ModeIndex(doc.m_chMode);
    if (i < 0)
        return;
    if (doc.m_dSessionRecord[i] > 0.0)
        DrawTextAt(doc.m_nRightX, doc.m_nSessionRecordY,
                   Format(ChooseText(doc.m_chLanguage, kSessionRecordText), doc.m_dSessionRecord[i]));
    if (doc.m_dTotalRecord[i] > 0.0)
        DrawTextAt(doc.m_nRightX, doc.m_nTotalRecordY,
                   Format(ChooseText(doc.m_chLanguage, kTotalRecordText), doc.m_dTotalRecord[i]));
}

void CVeskView::ShowNextGameHint()
{
    CVeskDoc& doc = GetDocument();
    DrawTextAt(doc.m_nRightX, doc.m_nEnterHintY, ChooseText(doc.m_chLanguage, kEnterHint));
    doc.m_bSeriesComplete = true;
}

void CVeskView::ShowIndexPageHint()
{
    const CVeskDoc& doc = GetDocument();
    DrawTextAt(doc.m_nRightX, doc.m_nEscHintY, ChooseText(doc.m_chLanguage, kEscHint));
}
