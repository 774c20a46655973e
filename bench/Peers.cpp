// bench/peers: kbr_dorin beside the programs a person would use instead, measured
// by one instrument in one run. The watcher of bench/timing (a process of its own)
// answers each program's black square through XTest a known delay after its
// onset; each program's own reported reaction time is compared with that delay.
// Programs take turns in blocks, so that whatever drifts touches all alike; each
// block runs idle and with both cores loaded.
//   bench_peers [--answers N] [--block B] [--peers jspsych,psychtoolbox,tk,kbr_dorin] [--out DIR]
//               [--node-modules DIR] [--replot peers-errors.csv]
#include <fcntl.h>
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
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Load.h"
#include "TimingStats.h"
#include "Wait.h"
#include "XWatcher.h"
#include "history/sqlite/SqliteHistory.h"

#include <wx/app.h>
#include <wx/image.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// A program started with its standard output on a pipe the benchmark reads.
struct Running {
    pid_t pid = 0;
    int out = -1;
    std::string pending;  // output read but not yet a whole line
    std::vector<pid_t> others;  // started beside it (a browser beside its page's server)

    // Lines written so far, without blocking.
    std::vector<std::string> Lines()
    {
        std::vector<std::string> lines;
        char buffer[4096];
        for (ssize_t n; (n = ::read(out, buffer, sizeof buffer)) > 0;)
            pending.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t nl; (nl = pending.find('\n')) != std::string::npos;) {
            lines.push_back(pending.substr(0, nl));
            pending.erase(0, nl + 1);
        }
        return lines;
    }
    void Stop()
    {
        for (pid_t other : others) {
            ::kill(other, SIGTERM);
            if (!WaitUntil([&] { return ::waitpid(other, nullptr, WNOHANG) == other; }, 10s)) {
                ::kill(other, SIGKILL);
                ::waitpid(other, nullptr, 0);
            }
        }
        others.clear();
        if (pid > 0) {
            ::kill(pid, SIGTERM);
            if (!WaitUntil([&] { return ::waitpid(pid, nullptr, WNOHANG) == pid; }, 10s)) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, nullptr, 0);
            }
        }
        if (out >= 0)
            ::close(out);
        pid = 0;
        out = -1;
    }
};

Running Start(const std::vector<std::string>& args, const fs::path& dir)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipeFds[1], 1);
        const int quiet = ::open("/dev/null", O_WRONLY);
        ::dup2(quiet, 2);
        ::close_range(3, ~0U, 0);
        std::vector<char*> argv;
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        if (::chdir(dir.c_str()) == 0)
            ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    ::fcntl(pipeFds[0], F_SETFL, O_NONBLOCK);
    Running running;
    running.pid = pid;
    running.out = pipeFds[0];
    return running;
}

// One program as the benchmark drives it.
struct Peer {
    std::string name;
    std::string version;
    // Starts it in dir; false when it did not come up.
    std::function<bool(const fs::path& dir, Running& running, int& x, int& y)> start;
    // Its reaction times so far, in the order of the answers.
    std::function<std::vector<double>(const fs::path& dir, Running& running)> times;
    // Whatever it needs between answers (kbr_dorin: Enter after each series of ten).
    std::function<void(int answered)> between = [](int) {};
};

std::string FirstLine(const std::string& command)
{
    std::string line;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buffer[256];
        if (std::fgets(buffer, sizeof buffer, p))
            line = buffer;
        ::pclose(p);
    }
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    return line;
}

// The times a program prints, a line "rt <ms>" each, gathered into times.
std::function<std::vector<double>(const fs::path&, Running&)> TimesPrinted(std::shared_ptr<std::vector<double>> times)
{
    return [times](const fs::path&, Running& running) {
        for (const auto& line : running.Lines())
            if (line.rfind("rt ", 0) == 0)
                times->push_back(std::atof(line.c_str() + 3));
        return *times;
    };
}

Peer TkPeer(const fs::path& source)
{
    Peer peer;
    peer.name = "naive Tk program";
    peer.version = "Python " + FirstLine("python3 -c 'import sys; print(sys.version.split()[0])'") + ", Tk " +
                   FirstLine("python3 -c 'import tkinter; print(tkinter.TkVersion)'");
    std::shared_ptr<std::vector<double>> times = std::make_shared<std::vector<double>>();
    peer.start = [source, times](const fs::path& dir, Running& running, int& x, int& y) {
        times->clear();
        running = Start({"python3", (source / "peers" / "naive_tk.py").string(), "0,0"}, dir);
        x = 150;
        y = 150;
        if (!WaitUntil([] { return xwatch::Pixel(150, 150) == 0xFFFFFF; }, 20s))
            return false;
        xwatch::Click(300, 250);  // the keyboard goes where the pointer is
        return true;
    };
    peer.times = TimesPrinted(times);
    return peer;
}

// jsPsych in Chromium, full screen (the page's square stands where the screen's
// does), its page served from 127.0.0.1 by a server that prints the rts it posts.
Peer JsPsychPeer(const fs::path& source, const fs::path& modules)
{
    Peer peer;
    peer.name = "jsPsych in Chromium";
    const std::string jspsych = FirstLine("node -p \"require('" + (modules / "jspsych" / "package.json").string() +
                                          "').version\"");
    peer.version = "jsPsych " + jspsych + ", " + FirstLine("chromium --version");
    std::shared_ptr<std::vector<double>> times = std::make_shared<std::vector<double>>();
    peer.start = [source, modules, times](const fs::path& dir, Running& running, int& x, int& y) {
        times->clear();
        const std::string port = std::to_string(20000 + ::getpid() % 20000);
        running = Start({"python3", (source / "peers" / "serve_jspsych.py").string(),
                         (source / "peers" / "jspsych").string(), modules.string(), port},
                        dir);
        Running browser = Start({"chromium", "--no-sandbox", "--kiosk", "--no-first-run", "--no-default-browser-check",
                                 "--noerrdialogs", "--password-store=basic", "--user-data-dir=" + (dir / "profile").string(),
                                 "http://127.0.0.1:" + port + "/"},
                                dir);
        ::close(browser.out);
        running.others.push_back(browser.pid);
        x = 150;
        y = 150;
        // The page is up when the screen at the square's place turns white.
        if (!WaitUntil([] { return xwatch::Pixel(150, 150) == 0xFFFFFF && xwatch::Pixel(600, 400) == 0xFFFFFF; },
                       60s))
            return false;
        xwatch::Click(600, 400);  // the page gets the keyboard
        return true;
    };
    peer.times = TimesPrinted(times);
    return peer;
}

// Psychtoolbox-3 in Octave: the flip's stimulus onset and KbQueue's press time.
// Xvfb has no vertical retrace, so its start-up sync tests fail: they are skipped.
Peer PsychtoolboxPeer(const fs::path& source)
{
    Peer peer;
    peer.name = "Psychtoolbox-3";
    peer.version = "Psychtoolbox " + FirstLine("dpkg-query -W -f='${Version}' octave-psychtoolbox-3") + ", " +
                   FirstLine("octave --version");
    std::shared_ptr<std::vector<double>> times = std::make_shared<std::vector<double>>();
    peer.start = [source, times](const fs::path& dir, Running& running, int& x, int& y) {
        times->clear();
        running = Start({"env", "PTB_SKIP_SYNC_TESTS=1", "octave", "--no-gui", "--quiet", "--no-window-system",
                         "--eval", "source('" + (source / "peers" / "ptb_rt.m").string() + "')"},
                        dir);
        x = 150;
        y = 150;
        return WaitUntil([] { return xwatch::Pixel(150, 150) == 0xFFFFFF && xwatch::Pixel(350, 250) == 0xFFFFFF; },
                         60s);
    };
    peer.times = TimesPrinted(times);
    return peer;
}

Peer KbrDorinPeer(const std::string& program)
{
    Peer peer;
    peer.name = "kbr_dorin";
    peer.version = FirstLine(program + " --version");
    peer.start = [program](const fs::path& dir, Running& running, int& x, int& y) {
        running = Start({program}, dir);
        int vx = 0, vy = 0;
        // The view with the page in it (its first frames may show the window unlaid out).
        if (!WaitUntil([&] {
                return xwatch::FindView("kbr_dorin - test and train your reaction", &vx, &vy) &&
                       xwatch::Pixel(vx + 2, vy + 2) == 0xFFFFFF && xwatch::AnyBlack(vx + 5, vy + 5, 300, 40);
            }, 20s))
            return false;
        // The square of mode A stands at 30..120 of the view's client area.
        x = vx - 1 + 75;
        y = vy - 1 + 75;
        xwatch::Click(vx + 300, vy + 200);
        std::this_thread::sleep_for(300ms);
        xwatch::PressKey(XK_a);
        return true;
    };
    // Its own figure for each answer: the raw time it keeps in its history.
    peer.times = [](const fs::path& dir, Running&) {
        std::vector<double> times;
        history::Problem problem;
        if (const auto log = history::SqliteHistory::OpenForReading((dir / history::kDatabaseName).string(), &problem))
            log->ForEachAnswer([&](const history::StoredAnswer& row) {
                if (row.answer.verdict == history::Verdict::Reaction)
                    times.push_back(row.answer.rawMs);
                return true;
            });
        return times;
    };
    peer.between = [](int answered) {
        if (answered % 10 == 0) {  // a series is complete: the next one
            std::this_thread::sleep_for(200ms);
            xwatch::PressKey(XK_Return);
        }
    };
    return peer;
}

// What the watcher is to answer next: count squares at (x, y).
struct WatchOrder {
    int x, y;
    unsigned seed;
    int count;
};

// The watcher: a process of its own with its own connection to the X server, made
// before this process opens any; it takes orders and sends reports on fd.
[[noreturn]] void ServeWatches(int fd)
{
    // Real-time, where allowed: the instrument must not be held up by the load.
    sched_param realtime{};
    realtime.sched_priority = sched_get_priority_min(SCHED_FIFO);
    if (::sched_setscheduler(0, SCHED_FIFO, &realtime) != 0)
        std::fprintf(stderr, "bench_peers: the watcher runs at normal priority\n");
    for (WatchOrder order{}; ::read(fd, &order, sizeof order) == static_cast<ssize_t>(sizeof order);)
        if (!xwatch::WatchCount(fd, fd, order.x, order.y, XK_x, order.seed, order.count))
            break;
    std::_Exit(0);
}

struct Block {
    std::vector<double> errors;  // reported - applied, ms
    int setAside = 0;
    bool failed = false;
};

// Runs count answers of peer; the watcher's delays against the peer's own times.
Block RunBlock(Peer& peer, int count, const fs::path& dir, unsigned seed, int watcher)
{
    Block block;
    Running running;
    int x = 0, y = 0;
    fs::create_directories(dir);
    if (!peer.start(dir, running, x, y)) {
        std::fprintf(stderr, "bench_peers: %s did not come up\n", peer.name.c_str());
        running.Stop();
        block.failed = true;
        return block;
    }
    const WatchOrder order{x, y, seed, count};
    if (::write(watcher, &order, sizeof order) != sizeof order) {
        running.Stop();
        block.failed = true;
        return block;
    }
    std::vector<xwatch::Report> reports;
    while (static_cast<int>(reports.size()) < count) {
        xwatch::Report r{};
        bool got = false;
        WaitUntil([&] {
            got = ::recv(watcher, &r, sizeof r, MSG_DONTWAIT) == static_cast<ssize_t>(sizeof r);
            return got;
        }, 15s);
        if (!got) {
            std::fprintf(stderr, "bench_peers: %s showed no square for 15 s\n", peer.name.c_str());
            block.failed = true;
            break;
        }
        reports.push_back(r);
        peer.between(static_cast<int>(reports.size()));
    }
    std::vector<double> times;
    WaitUntil([&] {
        times = peer.times(dir, running);
        return times.size() >= reports.size();
    }, 5s);
    running.Stop();
    times = peer.times(dir, running);  // kbr_dorin's last answer is written as it ends
    if (times.size() != reports.size()) {
        std::fprintf(stderr, "bench_peers: %s reported %zu times for %zu answers\n", peer.name.c_str(), times.size(),
                     reports.size());
        block.failed = true;
    }
    for (std::size_t i = 0; i < reports.size() && i < times.size(); ++i) {
        if (!reports[i].sharp) {
            ++block.setAside;
            continue;
        }
        block.errors.push_back(times[i] - (reports[i].pressUs - reports[i].onsetUs) / 1000.0);
    }
    return block;
}

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

double MedianAbs(const std::vector<double>& v)
{
    std::vector<double> a;
    for (double e : v)
        a.push_back(std::fabs(e));
    return Median(a);
}

// The plot of a run's errors, drawn with wx (started only now: the watcher was
// forked before any toolkit ran).
bool Plot(const fs::path& csv, const fs::path& png)
{
    wxApp::SetInstance(new wxApp);
    int wxArgc = 1;
    char name[] = "bench_peers";
    char* wxArgv[] = {name, nullptr};
    if (!wxEntryStart(wxArgc, wxArgv))
        return false;
    wxInitAllImageHandlers();
    PlotPeers(ReadPeersCsv(csv), png);
    wxEntryCleanup();
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    int answers = 200, blockSize = 20;
    std::string only = "jspsych,psychtoolbox,tk,kbr_dorin";
    fs::path modules = "node_modules";
    fs::path out = "bench/out/peers";
    fs::path replot;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--answers") == 0)
            answers = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--block") == 0)
            blockSize = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--peers") == 0)
            only = argv[i + 1];
        else if (std::strcmp(argv[i], "--out") == 0)
            out = argv[i + 1];
        else if (std::strcmp(argv[i], "--node-modules") == 0)  // where npm put jsPsych
            modules = fs::absolute(argv[i + 1]);
        else if (std::strcmp(argv[i], "--replot") == 0)  // the plot of an earlier run's CSV
            replot = fs::absolute(argv[i + 1]);
    }
    out = fs::absolute(out);
    fs::create_directories(out);
    if (!replot.empty())
        return Plot(replot, out / "peers-errors.png") ? 0 : 1;
    const fs::path source = fs::path(KBR_SOURCE_DIR) / "bench";
    const fs::path work = fs::temp_directory_path() / ("kbr_peers_" + std::to_string(::getpid()));

    std::vector<Peer> peers;
    std::istringstream names(only);
    for (std::string name; std::getline(names, name, ',');) {
        if (name == "tk")
            peers.push_back(TkPeer(source));
        else if (name == "kbr_dorin")
            peers.push_back(KbrDorinPeer(KBR_PROGRAM));
        else if (name == "jspsych")
            peers.push_back(JsPsychPeer(source, modules));
        else if (name == "psychtoolbox")
            peers.push_back(PsychtoolboxPeer(source));
    }
    int sockets[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, sockets) != 0)
        return 1;
    const pid_t watcherPid = ::fork();
    if (watcherPid == 0) {
        ::close(sockets[0]);
        ServeWatches(sockets[1]);
    }
    ::close(sockets[1]);
    const int watcher = sockets[0];
    xwatch::Pixel(0, 0);  // a connection stays open: no server reset between programs

    struct Condition {
        const char* name;
        bool load;
    };
    const Condition conditions[] = {{"idle", false}, {"both cores loaded", true}};
    std::map<std::pair<std::string, std::string>, Block> totals;
    unsigned seed = 2026;
    for (const Condition& c : conditions) {
        for (int done = 0; done < answers; done += blockSize) {
            const int count = std::min(blockSize, answers - done);
            for (Peer& peer : peers) {
                std::printf("%s, %s: answers %d..%d\n", c.name, peer.name.c_str(), done + 1, done + count);
                std::fflush(stdout);
                const std::vector<pid_t> busy = c.load ? LoadBothCores() : std::vector<pid_t>{};
                const Block b =
                    RunBlock(peer, count, work / (peer.name + "_" + std::to_string(seed)), seed, watcher);
                EndLoad(busy);
                ++seed;
                Block& total = totals[{c.name, peer.name}];
                total.errors.insert(total.errors.end(), b.errors.begin(), b.errors.end());
                total.setAside += b.setAside;
                total.failed = total.failed || b.failed;
            }
        }
    }
    ::close(watcher);
    ::waitpid(watcherPid, nullptr, 0);
    fs::remove_all(work);

    std::FILE* table = std::fopen((out / "peers.txt").c_str(), "w");
    auto print = [&](const char* format, auto... values) {
        std::printf(format, values...);
        if (table)
            std::fprintf(table, format, values...);
    };
    print("%-20s %-22s %5s %9s %8s %10s %9s %9s %6s\n", "condition", "program", "n", "mean ms", "sd ms",
          "median|e|", "p95 |e|", "max |e|", "aside");
    std::ofstream csv(out / "peers-errors.csv");
    csv << "condition,program,error_ms\n";
    for (const Condition& c : conditions)
        for (const Peer& peer : peers) {
            const Block& b = totals[{c.name, peer.name}];
            const ErrorSummary s = Summarise(b.errors);
            print("%-20s %-22s %5zu %9.2f %8.2f %10.2f %9.2f %9.2f %6d%s\n", c.name, peer.name.c_str(), b.errors.size(),
                  s.mean, s.sd, MedianAbs(b.errors), s.p95, s.max, b.setAside, b.failed ? "  (incomplete)" : "");
            for (double e : b.errors)
                csv << c.name << ',' << peer.name << ',' << e << '\n';
        }
    print("versions:");
    for (const Peer& peer : peers)
        print(" %s: %s;", peer.name.c_str(), peer.version.c_str());
    print("\n");
    if (table)
        std::fclose(table);
    csv.close();
    if (!Plot(out / "peers-errors.csv", out / "peers-errors.png"))
        return 1;
    std::printf("plot: %s\n", (out / "peers-errors.png").c_str());
    return 0;
}
