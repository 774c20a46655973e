// The history of answers: what the result screen has just shown, handed over to be
// kept once the paint is done, and what the window says when it can no longer be.
#include "view/Language.h"
#include "view/VeskView.h"

namespace {

constexpr LangText kHistoryProblemText[] = {
    // locked
    {"History not kept: 'kbr_dorin.db' is in use by another program.",
     "Istorija ne vedetsa: 'kbr_dorin.db' zanjat drugoj programmoj.",
     "Istorija nerašoma: 'kbr_dorin.db' naudoja kita programa.",
     "Istorija nerasoma: 'kbr_dorin.db' naudoja kita programa."},
    // read-only
    {"History not kept: 'kbr_dorin.db' or its folder is read-only.",
     "Istorija ne vedetsa: 'kbr_dorin.db' ili papka tol'ko dlja chtenija.",
     "Istorija nerašoma: 'kbr_dorin.db' ar aplankas tik skaitomas.",
     "Istorija nerasoma: 'kbr_dorin.db' ar aplankas tik skaitomas."},
    // full
    {"History not kept: the disk is full.", "Istorija ne vedetsa: disk perepolnen.",
     "Istorija nerašoma: diskas pilnas.", "Istorija nerasoma: diskas pilnas."},
    // corrupt
    {"History not kept: 'kbr_dorin.db' is damaged; it is left as it is.",
     "Istorija ne vedetsa: 'kbr_dorin.db' isporchen; on ostavlen kak est'.",
     "Istorija nerašoma: 'kbr_dorin.db' pažeistas; jis paliktas koks yra.",
     "Istorija nerasoma: 'kbr_dorin.db' pazeistas; jis paliktas koks yra."},
    // newer
    {"History not kept: 'kbr_dorin.db' is from a newer version of the program.",
     "Istorija ne vedetsa: 'kbr_dorin.db' ot bolee novoj versii programmy.",
     "Istorija nerašoma: 'kbr_dorin.db' iš naujesnės programos versijos.",
     "Istorija nerasoma: 'kbr_dorin.db' is naujesnes programos versijos."},
    // a link not followed
    {"History not kept: link 'kbr_dorin.db' not followed: others could change it.",
     "Istorija ne vedetsa: ssqlka 'kbr_dorin.db' ne ispol'zuetsa: ee mogut smenit'.",
     "Istorija nerašoma: nuoroda 'kbr_dorin.db' nenaudojama: ją gali pakeisti kiti.",
     "Istorija nerasoma: nuoroda 'kbr_dorin.db' nenaudojama: ja gali pakeisti kiti."},
    // not a file
    {"History not kept: 'kbr_dorin.db' is not a file.", "Istorija ne vedetsa: 'kbr_dorin.db' ne fajl.",
     "Istorija nerašoma: 'kbr_dorin.db' nėra failas.", "Istorija nerasoma: 'kbr_dorin.db' nera failas."},
    // anything else
    {"History not kept: 'kbr_dorin.db' cannot be used.", "Istorija ne vedetsa: 'kbr_dorin.db' nel'zja ispol'zovat'.",
     "Istorija nerašoma: 'kbr_dorin.db' negalima naudoti.", "Istorija nerasoma: 'kbr_dorin.db' negalima naudoti."},
};

constexpr LangText kHistoryWaitingText = {
    "'kbr_dorin.db' is in use by another program: answers are kept once it is free.",
    "'kbr_dorin.db' zanjat drugoj programmoj: otvety zapishutsa, kogda on osvoboditsa.",
    "'kbr_dorin.db' naudoja kita programa: atsakymai bus įrašyti, kai jis atsilaisvins.",
    "'kbr_dorin.db' naudoja kita programa: atsakymai bus irasyti, kai jis atsilaisvins."};

// Answers waiting for a database another program holds are kept in memory up to
// this many (some weeks of daily play); older ones give way to newer ones.
constexpr std::size_t kMostWaitingAnswers = 100000;

const char* ColourOf(const CVeskDoc& doc)
{
    switch (doc.m_chMode) {
    case 'a': return "black";
    case 'b': return doc.m_nSide == 0 ? "red" : "green";
    case 'c': return doc.m_nSide == 0 ? "yellow" : "blue";
    default: return "";
    }
}

}  // namespace

void CVeskView::LogAnswer(bool seriesEnded, bool sessionRecord, bool totalRecord)
{
    m_bAnswerToLog = false;
    CVeskDoc& doc = GetDocument();
    if (!m_platform.history || doc.m_nHistoryProblem != 0)
        return;

    const TimeOfDay now = m_platform.clock.Now();
    history::Answer answer;
    answer.utcMillis = now.seconds * 1000 + now.millis;
    answer.utcOffsetMinutes = m_platform.clock.UtcOffsetMinutes(now.seconds);
    answer.mode = doc.m_chMode;
    answer.language = doc.m_chLanguage;
    answer.waitMs = doc.m_nDelay;
    if (doc.m_bFalseStart) {  // no square was shown, nothing was timed
        answer.verdict = history::Verdict::FalseStart;
        answer.displayTime = answer.stampSource = "none";
    } else {
        answer.verdict = doc.m_bMistake  ? history::Verdict::Mistake
                         : doc.m_bPassive ? history::Verdict::Withheld
                                          : history::Verdict::Reaction;
        answer.colour = ColourOf(doc);
        answer.rawMs = static_cast<int>(doc.m_dwStopTick - doc.m_dwStartTick);
        if (answer.verdict == history::Verdict::Reaction)
            answer.shownMs = doc.m_nReaction;
        answer.displayTime = m_platform.clock.DisplayTimeSource();
        answer.stampSource = answer.verdict == history::Verdict::Withheld ? "timer" : m_platform.clock.StampSource();
    }

    std::optional<history::Series> series;
    if (seriesEnded) {
        series.emplace();
        series->utcMillis = answer.utcMillis;
        series->utcOffsetMinutes = answer.utcOffsetMinutes;
        series->mode = doc.m_chMode;
        series->times = m_seriesTimes;
        history::Summarize(*series);
        series->sessionRecord = sessionRecord;
        series->totalRecord = totalRecord;
    }
    m_historyQueue.push_back({answer, series});
    m_platform.window.PostTask([this] { WriteHistory(false); });
}

void CVeskView::WriteHistory(bool ending)
{
    CVeskDoc& doc = GetDocument();
    std::size_t written = 0;
    for (; written < m_historyQueue.size(); ++written) {
        if (doc.m_nHistoryProblem != 0 || !m_platform.history)
            break;
        const LoggedAnswer& logged = m_historyQueue[written];
        const history::Problem problem =
            m_platform.history->Add(logged.answer, logged.series ? &*logged.series : nullptr);
        if (problem == history::Problem::None)
            continue;
        if (problem == history::Problem::Locked) {
            // Another program holds the database: this answer and those after it
            // wait, and are written after the next answer (or at the end) when the
            // database is free again. Said once.
            if (!doc.m_bHistoryWaited && !ending) {
                doc.m_bHistoryWaited = true;
                doc.m_nNotices |= notice::kHistoryWaiting;
                Invalidate();
            }
            break;
        }
        // Said once; the game goes on without the history. A program on its way out
        // says nothing: the answers it would have kept are lost either way.
        doc.m_nHistoryProblem = static_cast<int>(problem);
        if (!ending) {
            doc.m_nNotices |= notice::kHistoryStopped;
            Invalidate();
        }
        break;
    }
    if (doc.m_nHistoryProblem != 0)
        m_historyQueue.clear();
    else
        m_historyQueue.erase(m_historyQueue.begin(), m_historyQueue.begin() + static_cast<std::ptrdiff_t>(written));
    if (m_historyQueue.size() > kMostWaitingAnswers)
        m_historyQueue.erase(m_historyQueue.begin(),
                             m_historyQueue.end() - static_cast<std::ptrdiff_t>(kMostWaitingAnswers));
}

const char* CVeskView::HistoryWaitingText() const
{
    return ChooseText(GetDocument().m_chLanguage, kHistoryWaitingText);
}

const char* CVeskView::HistoryProblemText() const
{
    const CVeskDoc& doc = GetDocument();
    const int index = doc.m_nHistoryProblem - static_cast<int>(history::Problem::Locked);
    const int last = static_cast<int>(std::size(kHistoryProblemText)) - 1;
    return ChooseText(doc.m_chLanguage, kHistoryProblemText[index < 0 || index > last ? last : index]);
}
