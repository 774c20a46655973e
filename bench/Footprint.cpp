// bench/footprint: what the program costs beside the smallest wxWidgets window.
// - start-up: from starting the process to its first page on screen (kbr_dorin: the
//   page's text read back from the screen; the floor: a marker file its first paint
//   writes), median of 10 starts, with the X server kept from resetting in between;
// - resident memory: kbr_dorin after a whole series played through XTest, the floor
//   once shown;
// - CPU time over 30 s of waiting: kbr_dorin with the square shown and no answer
//   (it must not poll), the floor idle.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Wait.h"
#include "XWatcher.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

pid_t Start(const char* program, const fs::path& dir)
{
    const std::string where = dir.string();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close_range(3, ~0U, 0);  // the program gets none of the benchmark's files or its X connection
        if (::chdir(where.c_str()) == 0)
            ::execl(program, program, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return pid;
}

void Stop(pid_t pid)
{
    ::kill(pid, SIGTERM);
    if (!WaitUntil([&] { return ::waitpid(pid, nullptr, WNOHANG) == pid; }, 10s)) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
}

fs::path FreshDir(const char* name)
{
    const fs::path dir = fs::temp_directory_path() / ("kbr_footprint_" + std::to_string(::getpid())) / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

// Milliseconds from start until shown(dir) holds, median of runs; dir is the
// program's fresh working directory.
double StartupMs(const char* program, const std::function<bool(const fs::path&)>& shown, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const fs::path dir = FreshDir("startup");
        const auto t0 = std::chrono::steady_clock::now();
        const pid_t pid = Start(program, dir);
        if (WaitUntil([&] { return shown(dir); }, 20s, 500us))  // this wait is the figure
            times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        Stop(pid);
    }
    std::sort(times.begin(), times.end());
    return times.empty() ? -1 : times[times.size() / 2];
}

long ResidentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// User and system CPU time of the process so far, seconds.
double CpuSeconds(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream rest(all.substr(all.rfind(')') + 2));
    std::string field;
    unsigned long utime = 0, stime = 0;
    for (int i = 3; i <= 15; ++i) {
        rest >> field;
        if (i == 14)
            utime = std::stoul(field);
        if (i == 15)
            stime = std::stoul(field);
    }
    return double(utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

double CpuPercentOver(pid_t pid, std::chrono::seconds span)
{
    const double before = CpuSeconds(pid);
    std::this_thread::sleep_for(span);
    return 100.0 * (CpuSeconds(pid) - before) / static_cast<double>(span.count());
}

// The top-left corner of kbr_dorin's client area: its 1-pixel black frame below
// the menu and the toolbar, found inside the window by its title.
bool FindView(int& left, int& top)
{
    int x = 0, y = 0;
    if (!xwatch::FindView("kbr_dorin - test and train your reaction", &x, &y))
        return false;
    left = x - 1;
    top = y - 1;
    return true;
}

struct Figures {
    double startupMs = -1;
    long residentKb = -1;
    double cpuPercent = -1;
};

Figures MeasureProgram(int runs, std::chrono::seconds wait, bool startupOnly)
{
    Figures f;
    // Where the page appears: the view found once on a first start.
    const fs::path dir = FreshDir("calibrate");
    const pid_t pid = Start(KBR_PROGRAM, dir);
    int left = 0, top = 0;
    // The page is on screen when the view's white shows black text in its first
    // lines (where the window is not, the root is black).
    auto pageShown = [&](const fs::path&) {
        return xwatch::Pixel(left + 3, top + 3) == 0xFFFFFF && xwatch::AnyBlack(left + 5, top + 5, 300, 40);
    };
    // Found with the page in it: before its first paint the window is a white
    // block that only looks like a view.
    if (!WaitUntil([&] { return FindView(left, top) && pageShown(dir); }, 20s)) {
        Stop(pid);
        return f;
    }
    Stop(pid);
    f.startupMs = StartupMs(KBR_PROGRAM, pageShown, runs);
    if (startupOnly)
        return f;

    const fs::path seriesDir = FreshDir("series");
    const pid_t series = Start(KBR_PROGRAM, seriesDir);
    if (!WaitUntil([&] { return pageShown(seriesDir); }, 20s)) {
        Stop(series);
        return f;
    }
    const int sx = left + 75, sy = top + 75;
    auto squareShown = [&] { return xwatch::Pixel(sx, sy) == 0; };
    xwatch::PressKey(XK_a);
    for (int i = 0; i < 10; ++i) {
        if (!WaitUntil(squareShown, 10s))
            break;
        std::this_thread::sleep_for(200ms);
        xwatch::PressKey(XK_x);
        WaitUntil([&] { return !squareShown(); }, 10s);
    }
    std::this_thread::sleep_for(500ms);
    f.residentKb = ResidentKb(series);

    xwatch::PressKey(XK_Return);  // the next series: wait for its square and leave it
    if (WaitUntil(squareShown, 10s))
        f.cpuPercent = CpuPercentOver(series, wait);
    Stop(series);
    return f;
}

Figures MeasureFloor(int runs, std::chrono::seconds wait, bool startupOnly)
{
    Figures f;
    // Its paint writes the marker after drawing, just before the toolkit shows it.
    f.startupMs = StartupMs(
        MINIMAL_PROGRAM, [](const fs::path& runDir) { return fs::exists(runDir / "painted"); }, runs);
    if (startupOnly)
        return f;
    const fs::path dir = FreshDir("floor");
    const pid_t pid = Start(MINIMAL_PROGRAM, dir);
    if (WaitUntil([&] { return fs::exists(dir / "painted"); }, 20s)) {
        std::this_thread::sleep_for(500ms);
        f.residentKb = ResidentKb(pid);
        f.cpuPercent = CpuPercentOver(pid, wait);
    }
    Stop(pid);
    return f;
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = 20;
    long waitSeconds = 30;
    bool startupOnly = false;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--wait") == 0)
            waitSeconds = std::max(1L, std::atol(argv[i + 1]));
        else if (std::strcmp(argv[i], "--only") == 0)  // "startup": skip memory and CPU
            startupOnly = std::strcmp(argv[i + 1], "startup") == 0;
    }
    const std::chrono::seconds wait(waitSeconds);
    // Held open all along, as a desktop session does: an X server with no client
    // left resets itself, and the next program would pay for the reset.
    xwatch::Pixel(0, 0);
    std::printf("kbr_dorin...\n");
    std::fflush(stdout);
    const Figures ours = MeasureProgram(runs, wait, startupOnly);
    std::printf("minimal wxWidgets window...\n");
    std::fflush(stdout);
    const Figures floor = MeasureFloor(runs, wait, startupOnly);
    fs::remove_all(fs::temp_directory_path() / ("kbr_footprint_" + std::to_string(::getpid())));

    std::printf("\n%-34s %12s %14s %8s\n", "", "kbr_dorin", "minimal window", "ratio");
    std::printf("%-34s %12.1f %14.1f %8.2f\n", "start-up to first page, ms (median)", ours.startupMs, floor.startupMs,
                ours.startupMs / floor.startupMs);
    if (startupOnly)
        return ours.startupMs > 0 ? 0 : 1;
    std::printf("%-34s %12ld %14ld %8.2f\n", "resident memory, KiB", ours.residentKb, floor.residentKb,
                double(ours.residentKb) / double(floor.residentKb));
    std::printf("%-34s %12.3f %14.3f\n", ("CPU while waiting " + std::to_string(waitSeconds) + " s, %").c_str(),
                ours.cpuPercent, floor.cpuPercent);
    return ours.startupMs > 0 && ours.residentKb > 0 && ours.cpuPercent >= 0 ? 0 : 1;
}
