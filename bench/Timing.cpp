// bench/timing: how far the program's measured reaction time is from what a person
// did, end to end, on the real window under an X server.
//
// An independent X client (a process of its own) watches the stimulus pixel,
// notes the square's onset, and presses a key through XTest a known delay later.
// The program measures as always; its raw time (before the seed correction) is
// compared with the delay the watcher applied. Beside it, the same answers are
// measured the naive way: start when the drawing call returns, stop when the
// handler runs. Three conditions: idle, both cores loaded by busy processes, and
// the main thread stalled for 100 ms right after the square was drawn (before the
// toolkit has put it on the display).
#include <sched.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/evtloop.h>
#include <wx/image.h>
#include <wx/timer.h>

#include "Load.h"
#include "TimingStats.h"
#include "XWatcher.h"
#include "app/MainFrm.h"
#include "app/vesk.h"
#include "history/sqlite/SqliteHistory.h"

namespace fs = std::filesystem;

namespace {

// --- the program's side -------------------------------------------------------------------

void Pump()
{
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    while (loop->Pending())
        loop->Dispatch();
    wxTheApp->ProcessPendingEvents();
    wxTheApp->ProcessIdle();
}

// What the program measured at each verdict, read while the result is drawn.
class VerdictProbe : public PaintProbe {
public:
    explicit VerdictProbe(CMainFrame& frame) : m_frame(frame) {}
    void PaintBegins() override {}
    void PaintEnds() override
    {
        const CVeskDoc& doc = m_frame.ViewWindow().View().GetDocument();
        if (stall && doc.m_bTiming && doc.m_dwStartTick != m_lastStart) {
            m_lastStart = doc.m_dwStartTick;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the main thread is busy
        }
    }
    void TextDrawn(int, int, std::string_view text) override
    {
        const CVeskDoc& doc = m_frame.ViewWindow().View().GetDocument();
        // A verdict drawn again by a repaint is the same answer.
        if (text.find(" ms REACTION.") == std::string_view::npos || doc.m_dwStopTick == m_lastStop)
            return;
        m_lastStop = doc.m_dwStopTick;
        const TimingTrace& t = m_frame.ViewWindow().LastTiming();
        ours.push_back(static_cast<double>(static_cast<std::int32_t>(doc.m_dwStopTick - doc.m_dwStartTick)));
        naive.push_back(static_cast<double>(static_cast<std::int32_t>(t.handled - t.drawn)));
    }
    std::vector<double> ours, naive;
    bool stall = false;

private:
    CMainFrame& m_frame;
    std::uint32_t m_lastStop = 0;
    std::uint32_t m_lastStart = 0;
};

// min / median / p95 / max of a series of durations.
std::string Spread(std::vector<double> ms)
{
    if (ms.empty())
        return "-";
    std::sort(ms.begin(), ms.end());
    auto at = [&](double q) { return ms[static_cast<std::size_t>(q * static_cast<double>(ms.size() - 1) + 0.5)]; };
    char text[96];
    std::snprintf(text, sizeof text, "%.0f / %.0f / %.0f / %.0f", ms.front(), at(0.5), at(0.95), ms.back());
    return text;
}

struct Condition {
    const char* name;
    bool load;
    bool stall;
};

}  // namespace

int main(int argc, char** argv)
{
    int answers = 200;
    fs::path outDir = "bench/out";
    fs::path replot;
    std::string only;
    std::string nested;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--answers") == 0)
            answers = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--out") == 0)
            outDir = argv[i + 1];
        else if (std::strcmp(argv[i], "--replot") == 0)  // the table and plot of an earlier run's CSV
            replot = fs::absolute(argv[i + 1]);
        else if (std::strcmp(argv[i], "--only") == 0)  // one condition: idle, loaded or stalled
            only = argv[i + 1];
        else if (std::strcmp(argv[i], "--nested") == 0)  // the program is a client of this compositor,
            nested = argv[i + 1];                         // whose window on the X server has this title
    }
    outDir = fs::absolute(outDir);
    fs::create_directories(outDir);

    // The program runs in a scratch directory of its own (it writes its records there).
    const fs::path work = fs::temp_directory_path() / ("kbr_bench_" + std::to_string(::getpid()));
    fs::create_directories(work);
    fs::current_path(work);

    wxApp::SetInstance(new CVeskApp);
    int wxArgc = 1;
    if (!wxEntryStart(wxArgc, argv))
        return 1;
    wxInitAllImageHandlers();
    if (!replot.empty()) {
        const auto results = ReadCsv(replot);
        PrintTable(results, stdout);
        PlotErrors(results, outDir / "timing-errors.png");
        return 0;
    }
    wxGUIEventLoop loop;
    wxEventLoopActivator active(&loop);

    CMainFrame* frame = static_cast<CVeskApp*>(wxTheApp)->CreateMainWindow();
    VerdictProbe probe(*frame);
    frame->ViewWindow().SetPaintProbe(&probe);
    frame->Show();
    frame->Raise();
    frame->ViewWindow().SetFocus();
    CVeskDoc& doc = frame->ViewWindow().View().GetDocument();
    auto waitFor = [&](auto cond, int ms) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!cond() && std::chrono::steady_clock::now() < end) {
            Pump();
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return cond();
    };
    // Nested in a compositor, the window's place on the screen is found by looking,
    // and a click gives it the keyboard.
    wxPoint square;
    if (!nested.empty()) {
        int x = 0, y = 0, same = 0, lastX = -1, lastY = -1;
        const bool seen = waitFor([&] {
            if (!doc.m_bRecordsLoaded || !xwatch::FindView(nested.c_str(), &x, &y))
                return false;
            same = x == lastX && y == lastY ? same + 1 : 0;
            lastX = x;
            lastY = y;
            return same >= 20;  // settled where the compositor puts it
        }, 20000);
        if (!seen) {
            std::fprintf(stderr, "bench/timing: the window is not seen in %s\n", nested.c_str());
            return 1;
        }
        xwatch::Click(x + 300, y + 200);
        square = wxPoint(x + 74, y + 74);  // inside the frame, which is 1 pixel
    }
    if (!waitFor([&] { return doc.m_bRecordsLoaded && wxWindow::FindFocus() == &frame->ViewWindow(); }, 10000)) {
        std::fprintf(stderr, "bench/timing: the window did not come up\n");
        return 1;
    }
    if (nested.empty())
        square = frame->ViewWindow().ClientToScreen(wxPoint(75, 75));

    int sockets[2];
    ::socketpair(AF_UNIX, SOCK_STREAM, 0, sockets);
    const pid_t watcher = ::fork();
    if (watcher == 0) {
        ::close(sockets[0]);
        // The watcher is the measuring instrument: where allowed it runs ahead of
        // everything else, so the load of the loaded condition does not blur it.
        sched_param realtime{};
        realtime.sched_priority = sched_get_priority_min(SCHED_FIFO);
        if (::sched_setscheduler(0, SCHED_FIFO, &realtime) != 0)
            std::fprintf(stderr, "bench/timing: the watcher runs without real-time priority\n");
        xwatch::WatchSquares(sockets[1], sockets[1], square.x, square.y);
    }
    ::close(sockets[1]);

    xwatch::PressKey(XK_a);
    const Condition conditions[] = {{"idle", false, false}, {"both cores loaded", true, false},
                                    {"main thread stalled 100 ms", false, true}};
    std::vector<TimingResult> results;
    std::vector<std::string> setAside;
    std::vector<std::string> pace;
    for (const Condition& c : conditions) {
        if (!only.empty() && std::string(c.name).find(only) == std::string::npos)
            continue;
        std::printf("%s: %d answers...\n", c.name, answers);
        std::fflush(stdout);
        const std::vector<pid_t> busy = c.load ? LoadBothCores() : std::vector<pid_t>{};
        probe.ours.clear();
        probe.naive.clear();
        std::vector<double> applied;  // NaN: set aside
        std::vector<double> resultAfterPress, squareAfterResult;  // ms, as seen on the screen
        int sharp = 0;
        probe.stall = c.stall;

        // A report comes once the result is on the screen; the program's loop never
        // waits for it. True when every answer the program judged has its report.
        auto readReports = [&] {
            xwatch::Report r{};
            while (applied.size() < probe.ours.size() &&
                   ::recv(sockets[0], &r, sizeof r, MSG_DONTWAIT) == static_cast<ssize_t>(sizeof r)) {
                applied.push_back(r.sharp ? (r.pressUs - r.onsetUs) / 1000.0 : std::nan(""));
                sharp += r.sharp ? 1 : 0;
                resultAfterPress.push_back((r.goneUs - r.pressUs) / 1000.0);
                if (r.afterResultUs > 0)
                    squareAfterResult.push_back(r.afterResultUs / 1000.0);
            }
            return applied.size() >= probe.ours.size();
        };
        // The program runs its own event loop; the bookkeeping rides on a timer.
        wxTimer books;
        books.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            readReports();
            if (doc.m_bSeriesComplete)
                xwatch::PressKey(XK_Return);
            if (sharp >= answers)
                loop.Exit();
        });
        books.Start(2);
        loop.Run();
        books.Stop();
        // The reports of the last answers, before the next condition's come.
        if (!waitFor(readReports, 10000)) {
            std::fprintf(stderr, "bench/timing: the watcher did not report every answer\n");
            return 1;
        }
        for (pid_t pid : busy) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        probe.ours.resize(applied.size());
        probe.naive.resize(applied.size());
        results.push_back(Compare(c.name, probe.ours, probe.naive, applied));
        pace.push_back(std::string(c.name) + ": result on the screen after the press " +
                       Spread(resultAfterPress) + "; square after the previous result " + Spread(squareAfterResult) +
                       " (the random wait is 2000 to 4254 ms)");
        setAside.push_back(std::string(c.name) + ": " + std::to_string(applied.size() - sharp));
    }
    ::close(sockets[0]);
    ::waitpid(watcher, nullptr, 0);

    PrintTable(results, stdout);
    std::printf("answers set aside (watcher or X server held up over %lld ms):", static_cast<long long>(xwatch::kSharpUs / 1000));
    for (size_t i = 0; i < setAside.size(); ++i)
        std::printf("%s %s", i ? ";" : "", setAside[i].c_str());
    std::printf("\n");
    std::printf("how soon the screen follows (ms: min, median, p95, max):\n");
    for (const std::string& line : pace)
        std::printf("  %s\n", line.c_str());
    WriteCsv(results, outDir / "timing-errors.csv");
    PlotErrors(results, outDir / "timing-errors.png");
    std::printf("plot: %s\n", (outDir / "timing-errors.png").c_str());
    frame->ViewWindow().SetPaintProbe(nullptr);
    frame->Destroy();
    Pump();
    // The answers were kept in the history as they came: the figures above are with it.
    {
        history::Problem problem;
        history::Summary summary;
        const auto log = history::SqliteHistory::OpenForReading(history::kDatabaseName, &problem);
        int kept = 0;
        if (log && log->ReadSummary(0, &summary))
            for (const auto& mode : summary.modes)
                kept += mode.answers;
        std::printf("history: %d answers kept in %s during the run\n", kept, history::kDatabaseName);
    }
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(work);
    wxEntryCleanup();
    return 0;
}
