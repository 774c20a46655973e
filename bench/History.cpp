// How the history holds up when it is large: a database of many answers (100,000
// by default) is written as the program writes it, one transaction per answer;
// then the History window is opened on it and every answer is exported to CSV.
// Prints the time of each step. Needs an X display for the window.
//   bench_history [--answers N] [--keep FILE.db] [--screenshot FILE.png] [--language E|R|L|T]
// (--screenshot: the screen with the window as first opened, to look at, in that language)
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <vector>

#include <unistd.h>

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/utils.h>

#include "history/sqlite/SqliteHistory.h"
#include "history/wx/HistoryDlg.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double MillisSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Spread {
    double median, p95, max;
};

Spread SpreadOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v[std::min(v.size() - 1, v.size() * 95 / 100)], v.back()};
}

// A player over half a year: a session most days, all three modes, getting quicker,
// with now and then a mistake or a false start.
void Fill(history::Log& log, int answers, std::vector<double>* writeUs)
{
    std::mt19937 random(20261211);
    std::normal_distribution<double> spread(0.0, 30.0);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const std::int64_t start = 1'781'000'000'000;  // mid-2026
    const std::int64_t span = 180LL * 24 * 3600 * 1000;
    std::vector<int> series[3];
    for (int i = 0; i < answers; ++i) {
        const double progress = static_cast<double>(i) / answers;
        history::Answer a;
        a.utcMillis = start + static_cast<std::int64_t>(progress * span);
        a.utcOffsetMinutes = 120;
        const int m = (i / 40) % 3;
        a.mode = static_cast<char>('a' + m);
        a.colour = m == 0 ? "black" : m == 1 ? (unit(random) < 0.5 ? "red" : "green")
                                             : (unit(random) < 0.5 ? "yellow" : "blue");
        a.waitMs = 2000 + 23 * static_cast<int>(unit(random) * 99);
        a.language = 'E';
        a.displayTime = "x11-property";
        a.stampSource = "event";
        const double roll = unit(random);
        const int raw = static_cast<int>(std::lround(300 - 60 * progress + 40 * m + spread(random)));
        a.rawMs = std::max(90, raw);
        if (roll < 0.03) {
            a.verdict = history::Verdict::FalseStart;
            a.colour.clear();
            a.rawMs = -1;
            a.displayTime = a.stampSource = "none";
        } else if (roll < 0.06) {
            a.verdict = history::Verdict::Mistake;
        } else if (a.colour == "green") {
            a.verdict = history::Verdict::Withheld;
            a.rawMs = 1000;
            a.stampSource = "timer";
        } else {
            a.shownMs = a.rawMs - 4;
            series[m].push_back(a.shownMs);
        }
        std::optional<history::Series> ended;
        if (a.verdict == history::Verdict::Mistake || a.verdict == history::Verdict::FalseStart)
            series[m].clear();
        if (series[m].size() == 10) {
            ended.emplace();
            ended->utcMillis = a.utcMillis;
            ended->utcOffsetMinutes = a.utcOffsetMinutes;
            ended->mode = a.mode;
            ended->times = series[m];
            history::Summarize(*ended);
            series[m].clear();
        }
        const auto before = Clock::now();
        log.Add(a, ended ? &*ended : nullptr);
        if (writeUs)
            writeUs->push_back(MillisSince(before) * 1000.0);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    int answers = 100'000;
    std::string keep, screenshot;
    char language = 'E';
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--answers") == 0)
            answers = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--keep") == 0)
            keep = fs::absolute(argv[i + 1]).string();
        else if (std::strcmp(argv[i], "--screenshot") == 0)
            screenshot = fs::absolute(argv[i + 1]).string();
        else if (std::strcmp(argv[i], "--language") == 0)
            language = argv[i + 1][0];
    }
    const fs::path work = fs::temp_directory_path() / ("kbr_bench_history_" + std::to_string(::getpid()));
    fs::create_directories(work);
    fs::current_path(work);

    // Written as the program writes: one transaction per answer.
    std::vector<double> writeUs;
    {
        history::Problem problem;
        const auto log = history::SqliteHistory::OpenForWriting(history::kDatabaseName, &problem);
        if (!log) {
            std::fprintf(stderr, "bench_history: cannot create the database\n");
            return 1;
        }
        const auto started = Clock::now();
        Fill(*log, answers, &writeUs);
        std::printf("history of %d answers written in %.1f s\n", answers, MillisSince(started) / 1000.0);
    }
    const Spread write = SpreadOf(writeUs);
    std::printf("writing one answer (its transaction): median %.0f us, p95 %.0f us, max %.1f ms\n", write.median,
                write.p95, write.max / 1000.0);
    std::printf("database: %.1f MB\n", static_cast<double>(fs::file_size(history::kDatabaseName) +
                                                            (fs::exists("kbr_dorin.db-wal") ? fs::file_size("kbr_dorin.db-wal") : 0)) /
                                           1e6);

    // The start of the program: the database opened for writing, its pages checked.
    std::vector<double> startMs;
    for (int run = 0; run < 5; ++run) {
        history::Problem problem;
        const auto started = Clock::now();
        const auto log = history::SqliteHistory::OpenForWriting(history::kDatabaseName, &problem);
        startMs.push_back(MillisSince(started));
        if (!log || problem != history::Problem::None) {
            std::fprintf(stderr, "bench_history: the database did not open for writing\n");
            return 1;
        }
    }
    const Spread start = SpreadOf(startMs);
    std::printf("opening it at start-up, every page checked: median %.0f ms, max %.0f ms (5 runs)\n", start.median,
                start.max);

    // The export, as the command line runs it.
    std::vector<double> exportMs;
    int rows = 0;
    for (int run = 0; run < 5; ++run) {
        std::string error;
        const auto started = Clock::now();
        rows = history::ExportCsv(history::kDatabaseName, "export.csv", &error);
        exportMs.push_back(MillisSince(started));
        if (rows != answers) {
            std::fprintf(stderr, "bench_history: the export wrote %d rows: %s\n", rows, error.c_str());
            return 1;
        }
    }
    const Spread exported = SpreadOf(exportMs);
    std::printf("export of %d answers to CSV (%.1f MB): median %.0f ms, max %.0f ms (5 runs; target under 1000 ms)\n",
                rows, static_cast<double>(fs::file_size("export.csv")) / 1e6, exported.median, exported.max);

    // The History window: from the command to the chart on the screen.
    wxApp::SetInstance(new wxApp);
    int wxArgc = 1;
    if (!wxEntryStart(wxArgc, argv))
        return 1;
    {
        wxGUIEventLoop loop;
        wxEventLoopActivator active(&loop);
        auto* parent = new wxFrame(nullptr, wxID_ANY, "bench_history", wxPoint(50, 50), wxSize(300, 200));
        parent->Show();
        std::vector<double> openMs, readMs;
        for (int run = 0; run < 7; ++run) {
            history::WindowRequest request;
            request.records = {250.0, 290.0, 330.0};
            request.language = language;
            const auto started = Clock::now();
            bool painted = false;
            auto* dlg = new history::CHistoryDlg(parent, request, history::kDatabaseName);
            dlg->Chart().Bind(wxEVT_PAINT, [&](wxPaintEvent& event) {
                event.Skip();
                painted = true;
            });
            dlg->Show();
            while (!painted && MillisSince(started) < 10'000)
                loop.Dispatch();
            // The paint handler has run; what it drew is sent with the next flush.
            dlg->Update();
            openMs.push_back(MillisSince(started));
            readMs.push_back(dlg->ReadMillis());
            if (!painted || !dlg->Readable()) {
                std::fprintf(stderr, "bench_history: the window showed no chart\n");
                return 1;
            }
            if (run == 0 && !screenshot.empty()) {
                dlg->Raise();
                for (int i = 0; i < 50; ++i) {
                    while (loop.Pending())
                        loop.Dispatch();
                    wxMilliSleep(10);
                }
                wxExecute("import -window root '" + screenshot + "'", wxEXEC_SYNC);
            }
            dlg->Destroy();
            while (loop.Pending())
                loop.Dispatch();
        }
        const Spread open = SpreadOf(openMs), read = SpreadOf(readMs);
        std::printf("History window with %d answers: open to chart drawn median %.0f ms, max %.0f ms (7 runs; "
                    "target under 200 ms); of which reading the database median %.0f ms\n",
                    answers, open.median, open.max, read.median);
        parent->Destroy();
        while (loop.Pending())
            loop.Dispatch();
    }
    wxEntryCleanup();

    if (!keep.empty())
        fs::copy_file(history::kDatabaseName, keep, fs::copy_options::overwrite_existing);
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(work);
    return 0;
}
