// The records are saved however the program is ended, and nothing it has to say
// at its start or its end goes unseen: the real program, in a process of its own,
// driven through the X server as a person and a desktop drive it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <random>
#include <thread>

#include <wx/uiaction.h>

#include <X11/keysym.h>

#include "ProgramWindow.h"
#include "ScreenPixel.h"
#include "history/sqlite/SqliteHistory.h"
#include "support/Session.h"
#include "view/records/RecordsFile.h"

namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WaitUntil(const std::function<bool()>& cond, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!cond()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// The records in a coded records file, when it passes its checks.
std::optional<records::Contents> RecordsIn(const fs::path& file)
{
    std::string plain = Read(file);
    for (std::size_t i = 0; i < plain.size() && i < records::kFileSize; ++i)
        plain[i] = static_cast<char>(((plain[i] & 0x7F) - records::kFileKey[i % records::kFileKey.size()]) & 0xFF);
    return records::ReadGoodFile(plain);
}

// A good coded records file with this mode A record.
std::string GoodFile(double recordA)
{
    const auto home = fs::current_path();
    const fs::path scratch = fs::temp_directory_path() / ("kbr_good_" + std::to_string(::getpid()));
    fs::create_directories(scratch);
    fs::current_path(scratch);
    {
        Session writer;
        writer.doc.m_bRecordsLoaded = true;
        writer.doc.m_dSessionRecord = {recordA, 0.0, 0.0};
        writer.view.SaveRecords();
    }
    const std::string bytes = Read(scratch / records::kIniName);
    fs::current_path(home);
    fs::remove_all(scratch);
    return bytes;
}

struct Limits {
    bool noFileWrites = false;  // RLIMIT_FSIZE 0: as on a full disk, no byte can be written
    std::string errorsTo;       // a file for all the program prints (standard output and error)
};

// Starts argv in dir with the given display. Everything is prepared before the
// fork: this process has threads, so the child may only make plain system calls.
pid_t Spawn(const fs::path& dir, const std::string& display, const std::vector<const char*>& argv,
            const std::vector<std::string>& extraEnv = {}, Limits limits = {})
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "DISPLAY=", 8) != 0 && std::strncmp(*e, "HOME=", 5) != 0 &&
            std::strncmp(*e, "XDG_DATA_HOME=", 14) != 0)
            env.emplace_back(*e);
    env.push_back("DISPLAY=" + display);
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    const std::string where = dir.string();
    struct rlimit none {};
    const int errors =
        limits.errorsTo.empty() ? -1 : ::open(limits.errorsTo.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);

    const pid_t pid = ::fork();
    if (pid == 0) {
        if (errors >= 0) {
            ::dup2(errors, 1);
            ::dup2(errors, 2);
        }
        if (limits.noFileWrites) {
            ::signal(SIGXFSZ, SIG_IGN);
            ::setrlimit(RLIMIT_FSIZE, &none);
        }
        if (::chdir(where.c_str()) == 0)
            ::execve(argv[0], const_cast<char* const*>(argv.data()), envp.data());
        ::_exit(127);
    }
    if (errors >= 0)
        ::close(errors);
    return pid;
}

// Waits for the process to end; its wait status, or nullopt when it did not end
// within timeoutMs (it is killed then).
std::optional<int> Reap(pid_t pid, int timeoutMs)
{
    int status = 0;
    const bool ended = WaitUntil([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }, timeoutMs);
    if (!ended) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        return std::nullopt;
    }
    return status;
}

bool EndedCleanly(const std::optional<int>& status)
{
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

const char* const kTitle = "kbr_dorin - test and train your reaction";

// The program under test: this build's, or another build of it (KBR_TEST_PROGRAM,
// such as one built with AddressSanitizer).
const char* Program()
{
    const char* other = ::getenv("KBR_TEST_PROGRAM");
    return other && *other ? other : KBR_PROGRAM;
}

class ProgramTest : public testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("kbr_exit_") + info->name();
        for (char& c : name)
            if (c == '/')
                c = '_';
        dir = fs::temp_directory_path() / (name + "_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        if (program > 0)
            End(0);  // a program a failed test left running
        fs::remove_all(dir);
    }

    // Waits for the program to end (see Reap), and for the X server to take its
    // window away, so that the next program's window is never mistaken for it.
    std::optional<int> End(int timeoutMs = 15000)
    {
        const auto status = Reap(program, timeoutMs);
        WaitUntil([&] { return !FindProgramWindow(display, program, kTitle); }, 5000);
        program = 0;
        return status;
    }

    void Start(const std::vector<std::string>& env = {}, Limits limits = {})
    {
        program = Spawn(dir, display, {Program(), nullptr}, env, limits);
    }
    std::optional<ProgramWindow> Window() { return FindProgramWindow(display, program, kTitle); }
    bool Sees(ViewShows what, int timeoutMs = 15000)
    {
        return WaitUntil([&] {
            const auto w = Window();
            return w && WhatTheViewShows(*w) == what;
        }, timeoutMs);
    }
    // The records start-up is done and the index page is on the screen.
    bool Started() { return Sees(ViewShows::Page); }

    // Gives the window the keyboard as a person does, with a click into it.
    void ClickIntoTheView()
    {
        const auto w = Window();
        ASSERT_TRUE(w);
        sim.MouseMove(w->x + w->width / 2, w->y + w->height * 3 / 4);
        sim.MouseClick();
    }
    // Opens the menu with Alt+M, then, when key is given, one of its items; false
    // when the menu did not open.
    bool OpenMenu(int key = 0)
    {
        ClickIntoTheView();
        sim.Char('m', wxMOD_ALT);
        if (!WaitUntil([&] { return ViewableWindows(display, program) >= 2; }, 5000))
            return false;
        if (key)
            sim.Char(key);
        return true;
    }
    void UseMenu(int key = 0) { ASSERT_TRUE(OpenMenu(key)) << "the menu opens"; }

    // On a first run the backup copy is written at exit, a copy of the records file.
    void ExpectSaved(const fs::path& where)
    {
        ASSERT_TRUE(fs::exists(where / "kbr_dorin.bak")) << "the records were not saved";
        EXPECT_EQ(Read(where / "kbr_dorin.ini").size(), 295u);
        EXPECT_EQ(Read(where / "kbr_dorin.bak"), Read(where / "kbr_dorin.ini"));
    }
    void ExpectSaved() { ExpectSaved(dir); }

    std::string display = ::getenv("DISPLAY");
    fs::path dir;
    pid_t program = 0;
    wxUIActionSimulator sim;
};

int SignalNamed(const std::string& name)
{
    return name == "SIGTERM" ? SIGTERM : name == "SIGINT" ? SIGINT : SIGHUP;
}

}  // namespace

// ---------------------------------------------------------------------------------
// Every ordinary end saves the records

class SignalTest : public ProgramTest, public testing::WithParamInterface<const char*> {};

TEST_P(SignalTest, RecordsAreSavedWhenTheProgramIsEnded)
{
    Start();
    ASSERT_TRUE(Started());
    ::kill(program, SignalNamed(GetParam()));
    EXPECT_TRUE(EndedCleanly(End()));
    ExpectSaved();
}

INSTANTIATE_TEST_SUITE_P(Ways, SignalTest, testing::Values("SIGTERM", "SIGINT", "SIGHUP"));

// The end of the desktop session: the display goes away under the program.
TEST_F(ProgramTest, RecordsAreSavedWhenTheDisplayIsLost)
{
    static int servers = 0;  // a display number of its own each time: the one before is gone
    display = ":" + std::to_string(200 + (::getpid() + servers++) % 500);
    const pid_t server = Spawn(dir, display, {"/usr/bin/Xvfb", display.c_str(), "-nolisten", "tcp", nullptr});
    ASSERT_TRUE(WaitUntil([&] { return fs::exists("/tmp/.X11-unix/X" + display.substr(1)); }, 15000));
    Start();
    ASSERT_TRUE(Started());
    ::kill(server, SIGTERM);
    Reap(server, 15000);
    ASSERT_TRUE(Reap(program, 15000));  // not End(): that display is gone
    program = 0;
    ExpectSaved();
}

// A desktop still starting (its X server not yet answering) is waited for a moment.
TEST_F(ProgramTest, ADisplayThatIsStillStartingIsWaitedFor)
{
    display = ":" + std::to_string(700 + ::getpid() % 200);
    Start();
    WaitUntil([] { return false; }, 600);
    const pid_t server = Spawn(dir, display, {"/usr/bin/Xvfb", display.c_str(), "-nolisten", "tcp", nullptr});
    EXPECT_TRUE(Started()) << "the window opened on the display once it answered";
    ::kill(program, SIGTERM);
    EXPECT_TRUE(EndedCleanly(End()));
    ::kill(server, SIGTERM);
    Reap(server, 15000);
}

// Started where it cannot run, or asked wrongly, the program says what is wrong on
// stderr and ends with a status that says so, leaving no file behind.
TEST_F(ProgramTest, WhatStandsInTheWayIsSaidAndEndsTheProgram)
{
    struct Case {
        const char* name;
        std::string environment, arguments;
        int status;
        std::string says;
    };
    const std::string here = fs::canonical(dir).string();
    const Case cases[] = {
        {"an export without its file", "env", "--export-history", 2, "--export-history needs the name of the file"},
        {"an export without a history", "env", "--export-history out.csv", 1,
         "no history found: there is no kbr_dorin.db in " + here},
        {"no display", "env -u WAYLAND_DISPLAY -u DISPLAY", "", 1, "no display: DISPLAY and WAYLAND_DISPLAY"},
        {"a display that is not there", "env -u WAYLAND_DISPLAY DISPLAY=:977", "", 1,
         "cannot open the display DISPLAY=:977"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string command =
            "cd '" + dir.string() + "' && " + c.environment + " '" + Program() + "' " + c.arguments + " 2>&1";
        FILE* out = ::popen(command.c_str(), "r");
        ASSERT_TRUE(out);
        std::string said;
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, out))
            said += buffer;
        const int status = ::pclose(out);
        ASSERT_TRUE(WIFEXITED(status)) << "ended by a signal: " << said;
        EXPECT_EQ(WEXITSTATUS(status), c.status) << said;
        EXPECT_NE(said.find(c.says), std::string::npos) << said;
        EXPECT_TRUE(fs::is_empty(dir)) << "nothing is written";
    }
}

// A signal while a dialog is open ends the program as cleanly as one without: the
// dialog is ended first, then the window closes and the records are saved.
class DialogSignalTest : public ProgramTest,
                         public testing::WithParamInterface<std::tuple<const char*, const char*>> {};

TEST_P(DialogSignalTest, EndsCleanlyAndSaves)
{
    const std::string dialog = std::get<0>(GetParam());
    Start();
    ASSERT_TRUE(Started());
    UseMenu(dialog == "About program" ? 'a' : 'v');
    ASSERT_TRUE(WaitUntil([&] { return FindProgramWindow(display, program, dialog).has_value(); }, 5000));
    ::kill(program, SignalNamed(std::get<1>(GetParam())));
    const auto status = End();
    ASSERT_TRUE(status) << "the program did not end";
    EXPECT_TRUE(EndedCleanly(status)) << (WIFSIGNALED(*status) ? strsignal(WTERMSIG(*status)) : "exit status");
    ExpectSaved();
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogSignalTest,
                         testing::Combine(testing::Values("About program", "Validation"),
                                          testing::Values("SIGTERM", "SIGINT", "SIGHUP")));

// While the menu is open GTK drops the desktop's request to close the window; a
// logout would wait for it and then kill the program.
TEST_F(ProgramTest, CloseRequestWhileTheMenuIsOpenIsHonoured)
{
    Start();
    ASSERT_TRUE(Started());
    UseMenu();
    SendCloseRequest(*Window());
    EXPECT_TRUE(EndedCleanly(End()));
    ExpectSaved();
}

// ---------------------------------------------------------------------------------
// What the program has to say is seen

// Each message of the start-up stays on the screen for its pause, and the page
// follows it; the program ended while the message shows loses no record.
class StartupMessageTest : public ProgramTest, public testing::WithParamInterface<const char*> {};

TEST_P(StartupMessageTest, ShowsForItsPauseThenThePage)
{
    const std::string situation = GetParam();
    const std::string backup = GoodFile(250.5);
    std::ofstream(dir / "kbr_dorin.bak", std::ios::binary) << backup;
    if (situation != "records missing")
        std::ofstream(dir / "kbr_dorin.ini", std::ios::binary) << std::string(295, 'Z');
    Start();
    ASSERT_TRUE(Sees(ViewShows::Message)) << "the Restored message";
    if (situation == "ended during the message") {
        ::kill(program, SIGTERM);
        EXPECT_TRUE(EndedCleanly(End()));
        const auto saved = RecordsIn(dir / "kbr_dorin.ini");
        ASSERT_TRUE(saved) << "the restored file was damaged";
        EXPECT_EQ(saved->records[0], 250.5);
        EXPECT_EQ(Read(dir / "kbr_dorin.bak"), backup);
        return;
    }
    ASSERT_TRUE(Started()) << "the index page after the pause";
    ::kill(program, SIGTERM);
    EXPECT_TRUE(EndedCleanly(End()));
}

INSTANTIATE_TEST_SUITE_P(Situations, StartupMessageTest,
                         testing::Values("records missing", "records damaged", "ended during the message"),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (c == ' ')
                                     c = '_';
                             return name;
                         });

// A save at exit that cannot be completed (no byte can be written, as on a full
// disk) leaves no empty files behind and says so in the window before it goes.
TEST_F(ProgramTest, ASaveThatCannotCompleteIsToldBeforeTheWindowGoes)
{
    Start({}, Limits{true, {}});
    ASSERT_TRUE(Started());
    ::kill(program, SIGTERM);
    EXPECT_TRUE(Sees(ViewShows::Message)) << "the notice";
    EXPECT_TRUE(EndedCleanly(End()));
    EXPECT_TRUE(fs::is_empty(dir)) << "no empty records files";
}

// Started from the desktop menu, the program keeps its records in the user's data
// folder; from a terminal, in the working directory it was given (the tests above).
TEST_F(ProgramTest, DesktopStartKeepsTheRecordsInTheUsersDataFolder)
{
    fs::create_directories(dir / "cwd");
    const fs::path data = dir / ".local" / "share" / "kbr_dorin";
    program = Spawn(dir / "cwd", display, {Program(), nullptr}, {"KBR_DORIN_DESKTOP=1", "HOME=" + dir.string()});
    ASSERT_TRUE(Started());
    ::kill(program, SIGTERM);
    EXPECT_TRUE(EndedCleanly(End()));
    ExpectSaved(data);
    EXPECT_TRUE(fs::is_empty(dir / "cwd")) << "nothing in the directory it was started from";
}

// A data folder that cannot be used is said in the window, not on a stderr nobody
// reads; the records are then kept where the program was started.
TEST_F(ProgramTest, DesktopStartWithAnUnusableDataFolderSaysSo)
{
    fs::create_directories(dir / "cwd");
    std::ofstream(dir / "not-a-folder") << "x";
    program = Spawn(dir / "cwd", display, {Program(), nullptr},
                    {"KBR_DORIN_DESKTOP=1", "HOME=" + dir.string(), "XDG_DATA_HOME=" + (dir / "not-a-folder").string()});
    ASSERT_TRUE(Sees(ViewShows::Message)) << "the notice";
    ClickIntoTheView();  // read: the click ends it long before its 7 s
    ASSERT_TRUE(Sees(ViewShows::Page, 2000)) << "the page at once";
    ::kill(program, SIGTERM);
    EXPECT_TRUE(EndedCleanly(End()));
    ExpectSaved(dir / "cwd");
}

// ---------------------------------------------------------------------------------
// Under a window manager

class WindowManagerTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        manager = Spawn(dir, display, {"/usr/bin/openbox", "--sm-disable", nullptr}, {},
                        Limits{false, (dir / "openbox.log").string()});
        ASSERT_TRUE(WaitUntil([&] { return WindowManagerRuns(display); }, 10000)) << "openbox did not start";
    }
    void TearDown() override
    {
        ProgramTest::TearDown();
        ::kill(manager, SIGTERM);
        Reap(manager, 5000);
        WaitUntil([&] { return !WindowManagerRuns(display); }, 5000);
    }
    pid_t manager = 0;
};

// Docks and task switchers find the program's launcher and icon by the window's
// class, which must name the desktop entry.
TEST_F(ProgramTest, TheWindowsClassNamesItsDesktopEntry)
{
    std::string entry;
    for (const auto& file : fs::directory_iterator(KBR_PACKAGING))
        if (file.path().extension() == ".desktop")
            entry = file.path().stem().string();
    ASSERT_FALSE(entry.empty());
    Start();
    ASSERT_TRUE(Started());
    const auto names = ClassOf(*Window());
    EXPECT_EQ(names.first, entry);
    EXPECT_EQ(names.second, entry);
    const std::string desktop = Read(fs::path(KBR_PACKAGING) / (entry + ".desktop"));
    EXPECT_NE(desktop.find("\nStartupWMClass=" + entry + "\n"), std::string::npos);
    ::kill(program, SIGTERM);
    EXPECT_TRUE(EndedCleanly(End()));
}

TEST_F(WindowManagerTest, TheWindowStartsQuietlyWhereItIsPlaced)
{
    const fs::path errors = dir / "errors.txt";
    Start({}, Limits{false, errors.string()});
    ASSERT_TRUE(Started());
    const auto w = Window();
    ASSERT_TRUE(w);
    EXPECT_EQ(FrameOrigin(*w), std::make_pair(100, 100)) << "the frame's top left corner on the screen";
    SendCloseRequest(*w);
    EXPECT_TRUE(EndedCleanly(End()));
    EXPECT_EQ(Read(errors), "") << "what the program printed";
}

// ---------------------------------------------------------------------------------
// On a Wayland desktop: weston nested in the X server, the program its native
// client. Input reaches it through the X server into weston's window, and the
// screen is read from the X server.

// A picture of the whole screen, for a failure's message.
std::string ScreenSavedTo(const std::string& file)
{
    const std::string command = "import -window root " + file + " 2>/dev/null";
    return std::system(command.c_str()) == 0 ? "; the screen is in " + (fs::current_path() / file).string() : "";
}

class WaylandTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        runtime = dir / "runtime";
        fs::create_directories(runtime);
        fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
        socket = "kbr-test-" + std::to_string(::getpid());
        compositor = Spawn(dir, display,
                           {"/usr/bin/weston", "--backend=x11-backend.so", socketArg.c_str(), "--width=900",
                            "--height=700", "--idle-time=0", nullptr},
                           {"XDG_RUNTIME_DIR=" + runtime.string()}, Limits{false, (dir / "weston.log").string()});
        ASSERT_TRUE(WaitUntil([&] {
            output = FindWindowTitled(display, "Weston Compositor");
            return output && fs::exists(runtime / socket);
        }, 15000)) << "weston did not start: " << Read(dir / "weston.log");
    }
    void TearDown() override
    {
        if (program > 0)
            End(0);
        ::kill(compositor, SIGTERM);
        Reap(compositor, 5000);
        ProgramTest::TearDown();
    }
    void StartOnWayland(const fs::path& errors)
    {
        Start({"WAYLAND_DISPLAY=" + socket, "GDK_BACKEND=wayland", "XDG_RUNTIME_DIR=" + runtime.string()},
              Limits{false, errors.string()});
    }

    fs::path runtime;
    std::string socket;
    std::string socketArg = "--socket=kbr-test-" + std::to_string(::getpid());
    pid_t compositor = 0;
    std::optional<ProgramWindow> output;  // weston's window on the X server
};

TEST_F(WaylandTest, OpensWholePlaysASeriesSavesTheRecordsAndKeepsTheHistory)
{
    const fs::path errors = dir / "errors.txt";
    StartOnWayland(errors);
    // The window settles where weston puts it, at its size, before it is looked at.
    std::optional<ProgramWindow> view, before;
    ASSERT_TRUE(WaitUntil([&] {
        before = view;
        view = FindViewIn(*output);
        const bool settled = view && before && view->x == before->x && view->y == before->y &&
                             view->width == before->width && view->height == before->height;
        WaitUntil([] { return false; }, 200);
        return settled && WhatTheViewShows(*view) == ViewShows::Page;
    }, 15000)) << "the index page; the view found: "
               << (view ? std::to_string(view->width) + "x" + std::to_string(view->height) : "none")
               << "; the program printed: " << Read(errors) << ScreenSavedTo("wayland-opening.png");
    // The view of a bare X server (558 by 285 with its frame), where every page is
    // seen whole.
    EXPECT_GE(view->width, 556);
    EXPECT_GE(view->height, 283);

    ClickAt(display, view->x + view->width / 2, view->y + view->height * 3 / 4);  // weston gives it the keyboard
    WaitUntil([] { return false; }, 300);
    PressKeysym(XK_a);
    const int squareX = view->x + 74, squareY = view->y + 74;  // inside mode A's black square
    for (int answer = 1; answer <= 10; ++answer) {
        ASSERT_TRUE(WaitUntil([&] { return IsBlackAt(display, squareX, squareY); }, 15000)) << "square " << answer;
        WaitUntil([] { return false; }, 200);  // a person's reaction
        if (answer == 3) {
            // Held for 1.2 s: the key repeats, and its repeats are no presses.
            SetKeysym(XK_space, true);
            WaitUntil([] { return false; }, 1200);
            SetKeysym(XK_space, false);
        } else {
            PressKeysym(XK_space);
        }
        ASSERT_TRUE(WaitUntil([&] { return !IsBlackAt(display, squareX, squareY); }, 5000)) << "result " << answer << ScreenSavedTo("wayland-result.png");
    }
    // The History window, from the menu: its chart shows the series just played.
    WaitUntil([] { return false; }, 300);
    const std::uint32_t chartLine = 0x195FC8;  // the averages' colour in a light theme
    EXPECT_EQ(PixelsOfColour(display, output->x, output->y, output->width, output->height, chartLine), 0);
    PressKeysymWith(XK_Alt_L, XK_m);
    WaitUntil([] { return false; }, 500);
    PressKeysym(XK_h);
    EXPECT_TRUE(WaitUntil([&] {
        return PixelsOfColour(display, output->x, output->y, output->width, output->height, chartLine) > 20;
    }, 10000)) << "the History window's chart" << ScreenSavedTo("wayland-history.png");
    PressKeysym(XK_Escape);
    EXPECT_TRUE(WaitUntil([&] {
        return PixelsOfColour(display, output->x, output->y, output->width, output->height, chartLine) == 0;
    }, 5000)) << "Esc closes it" << ScreenSavedTo("wayland-history-closed.png");
    ::kill(program, SIGTERM);
    EXPECT_TRUE(EndedCleanly(End()));
    // Every answer was kept, timed by the compositor's word on each square.
    history::Problem problem;
    const auto log = history::SqliteHistory::OpenForReading((dir / history::kDatabaseName).string(), &problem);
    ASSERT_TRUE(log) << "the history";
    int kept = 0, presented = 0;
    log->ForEachAnswer([&](const history::StoredAnswer& row) {
        ++kept;
        presented += row.answer.verdict == history::Verdict::Reaction &&
                     row.answer.displayTime == "wayland-presentation" && row.answer.shownMs > 0;
        return true;
    });
    EXPECT_EQ(kept, 10);
    EXPECT_EQ(presented, 10);
    history::Summary summary;
    ASSERT_TRUE(log->ReadSummary(0, &summary));
    EXPECT_EQ(summary.modes[0].averages.size(), 1u);
    const auto records = RecordsIn(dir / records::kIniName);
    ASSERT_TRUE(records) << "the records file";
    EXPECT_GT(records->records[0], 0.0) << "mode A's record, from the series";
    EXPECT_EQ(Read(errors), "") << "what the program printed";
}

// ---------------------------------------------------------------------------------
// Ended at any moment: signals (SIGKILL among them) at random moments of the
// start-up, of its records messages, of play, with a dialog open, and of the exit.
// Every file is whole afterwards and no record is lost. KBR_ROUNDS sets the number
// of rounds (20 by default).
TEST_F(ProgramTest, EndedAtRandomMomentsNoFileIsDamagedAndNoRecordLost)
{
    const char* rounds = ::getenv("KBR_ROUNDS");
    const int n = rounds ? std::atoi(rounds) : 20;
    std::mt19937 random(::getpid());
    const int signals[] = {SIGTERM, SIGINT, SIGHUP, SIGKILL};
    const std::string good = GoodFile(250.5);
    std::ofstream(dir / "kbr_dorin.ini", std::ios::binary) << good;
    std::ofstream(dir / "kbr_dorin.bak", std::ios::binary) << good;
    int damaged = 0, lost = 0, unclean = 0;
    for (int round = 0; round < n; ++round) {
        // Every fourth start has a records file to restore, with its message.
        if (round % 4 == 3)
            std::ofstream(dir / "kbr_dorin.ini", std::ios::binary) << std::string(295, 'Z');
        const int sig = signals[random() % 4];
        const int when = static_cast<int>(random() % 5);  // start-up, later, dialog, menu
        Start();
        if (when < 2) {
            std::this_thread::sleep_for(std::chrono::milliseconds(random() % (when == 0 ? 150 : 600)));
        } else {
            ASSERT_TRUE(Started());
            if (when == 2 && OpenMenu('a'))
                WaitUntil([&] { return FindProgramWindow(display, program, "About program").has_value(); }, 5000);
            else if (when == 3)
                OpenMenu();
        }
        ::kill(program, sig);
        const auto status = End();
        // A signal that comes before the program runs its own code at all ends it
        // there, with nothing loaded; anything else must end it cleanly.
        const bool killedByIt = status && WIFSIGNALED(*status) && WTERMSIG(*status) == sig;
        if (sig != SIGKILL && !EndedCleanly(status) && !(when < 2 && killedByIt)) {
            ++unclean;
            ADD_FAILURE() << "round " << round << ", signal " << sig << " at moment " << when << ": "
                          << (!status ? "did not end" : WIFSIGNALED(*status) ? strsignal(WTERMSIG(*status)) : "exit status");
        }
        // A records file given damaged stays so until a start-up gets as far as
        // restoring it; nothing else may be damaged.
        for (const char* name : {"kbr_dorin.ini", "kbr_dorin.bak"}) {
            const auto contents = RecordsIn(dir / name);
            const bool asGiven = name == std::string("kbr_dorin.ini") && Read(dir / name) == std::string(295, 'Z');
            if (!contents && !asGiven) {
                ++damaged;
                ADD_FAILURE() << name << " damaged in round " << round << ", signal " << sig << " at moment " << when;
            }
            else if (contents && contents->records[0] != 250.5)
                ++lost;
        }
    }
    Start();
    ASSERT_TRUE(Started());
    ::kill(program, SIGTERM);
    EXPECT_TRUE(EndedCleanly(End()));
    for (const char* name : {"kbr_dorin.ini", "kbr_dorin.bak"}) {
        const auto contents = RecordsIn(dir / name);
        EXPECT_TRUE(contents && contents->records[0] == 250.5) << name << " at the end";
    }
    std::printf("%d rounds: %d damaged files, %d lost records, %d unclean ends\n", n, damaged, lost, unclean);
    EXPECT_EQ(damaged, 0);
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(unclean, 0);
}

// ---------------------------------------------------------------------------------
// The Windows build (KBR_WINDOWS_PROGRAM, which make test gives) under Wine, on this
// X server: the same user, through the same X server, against the .exe.

namespace {

class WindowsProgramTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        const char* exe = ::getenv("KBR_WINDOWS_PROGRAM");
        if (!exe || !*exe)
            GTEST_SKIP() << "no Windows build given (KBR_WINDOWS_PROGRAM; make test gives it)";
        this->exe = exe;
        ASSERT_TRUE(fs::exists(this->exe)) << this->exe;
        // One Wine prefix for the run: making one takes seconds.
        prefix = fs::temp_directory_path() / ("kbr_wineprefix_" + std::to_string(::getpid()));
    }
    void StartExe()
    {
        program = Spawn(dir, display, {"/usr/bin/wine", exe.c_str(), nullptr},
                        {"WINEPREFIX=" + prefix.string(), "WINEDEBUG=-all"}, Limits{false, (dir / "wine.log").string()});
    }
    std::optional<ProgramWindow> View()
    {
        const auto w = FindWindowTitled(display, kTitle);
        return w ? FindViewIn(*w) : std::nullopt;
    }
    // The view once the window shows the page and has settled: while Wine lays the
    // window out, its first frames may show a view where the menu and the toolbar
    // are still to come.
    bool WaitForPage(std::optional<ProgramWindow>& view, int timeoutMs)
    {
        std::optional<ProgramWindow> before;
        return WaitUntil([&] {
            before = view;
            view = View();
            const auto w = FindWindowTitled(display, kTitle);
            const bool settled = view && before && view->x == before->x && view->y == before->y &&
                                 view->width == before->width && view->height == before->height;
            WaitUntil([] { return false; }, 300);
            return settled && w && WhatTheViewShows(*w) == ViewShows::Page;
        }, timeoutMs);
    }
    // Ends the program as a user closing its window does.
    bool Close()
    {
        const auto w = FindWindowTitled(display, kTitle);
        if (!w)
            return false;
        SendCloseRequest(*w);
        const bool ended = EndedCleanly(Reap(program, 20000));
        program = 0;
        WaitUntil([&] { return !FindWindowTitled(display, kTitle); }, 5000);
        return ended;
    }
    // Dark pixels of the view's line at (x, y), 220 by 16 pixels.
    int DarkIn(const ProgramWindow& view, int x, int y)
    {
        int dark = 0;
        for (int j = 0; j < 16; ++j)
            for (int i = 0; i < 220; i += 2)
                dark += IsBlackAt(display, view.x + x + i, view.y + y + j);
        return dark;
    }
    // Gives the window the keyboard with a click and chooses mode A; true when its
    // first square comes.
    bool ChooseModeA(const ProgramWindow& view)
    {
        ClickAt(display, view.x + view.width / 2, view.y + view.height * 3 / 4);
        WaitUntil([] { return false; }, 500);
        PressKeysym(XK_a);
        return WaitUntil([&] { return IsBlackAt(display, view.x + 74, view.y + 74); }, 15000);
    }
    // Plays answers in mode A with the view's square at 30..120.
    void Answer(const ProgramWindow& view, int count)
    {
        for (int answer = 1; answer <= count; ++answer) {
            ASSERT_TRUE(WaitUntil([&] { return IsBlackAt(display, view.x + 74, view.y + 74); }, 15000))
                << "square " << answer << ScreenSavedTo("windows-square.png");
            WaitUntil([] { return false; }, 200);  // a person's reaction
            PressKeysym(XK_space);
            ASSERT_TRUE(WaitUntil([&] { return !IsBlackAt(display, view.x + 74, view.y + 74); }, 5000))
                << "result " << answer;
        }
    }
    void TearDown() override
    {
        if (program > 0) {
            ::kill(program, SIGKILL);
            Reap(program, 5000);
            program = 0;
        }
        if (!prefix.empty() && fs::exists(prefix)) {
            const std::string stop = "WINEPREFIX=" + prefix.string() + " wineserver -k >/dev/null 2>&1";
            if (std::system(stop.c_str()) >= 0)
                fs::remove_all(prefix);
        }
        ProgramTest::TearDown();
    }

    std::string exe;
    fs::path prefix;
};

}  // namespace

TEST_F(WindowsProgramTest, PlaysASeriesKeepsTheRecordsAndOpensItsDialogs)
{
    StartExe();
    std::optional<ProgramWindow> view;
    // The first start under a new Wine prefix sets the prefix up first.
    ASSERT_TRUE(WaitForPage(view, 90000)) << "the window with its title and the index page" << Read(dir / "wine.log")
                                          << ScreenSavedTo("windows-start.png");
    EXPECT_GE(view->width, 540) << view->x << "," << view->y << " " << view->width << "x" << view->height;
    EXPECT_GE(view->height, 260);

    ASSERT_TRUE(ChooseModeA(*view)) << "mode A's first square" << ScreenSavedTo("windows-mode-a.png");
    Answer(*view, 10);
    WaitUntil([] { return false; }, 500);
    EXPECT_GT(DarkIn(*view, 230, 120), 20) << "the session record's line" << ScreenSavedTo("windows-series.png");
    EXPECT_EQ(DarkIn(*view, 230, 140), 0) << "no total record yet";

    // The Validation dialog from the menu, closed with Esc.
    PressKeysymWith(XK_Alt_L, XK_m);
    WaitUntil([] { return false; }, 500);
    PressKeysym(XK_v);
    EXPECT_TRUE(WaitUntil([&] { return FindWindowTitled(display, "Validation").has_value(); }, 10000))
        << "the Validation dialog" << ScreenSavedTo("windows-validation.png");
    PressKeysym(XK_Escape);
    EXPECT_TRUE(WaitUntil([&] { return !FindWindowTitled(display, "Validation"); }, 10000));

    // Russian from the menu: Menu, Language..., Russian.
    PressKeysymWith(XK_Alt_L, XK_m);
    WaitUntil([] { return false; }, 500);
    PressKeysym(XK_l);
    WaitUntil([] { return false; }, 500);
    PressKeysym(XK_r);
    WaitUntil([] { return false; }, 500);

    ASSERT_TRUE(Close()) << "ended cleanly";
    ExpectSaved();
    const auto saved = RecordsIn(dir / "kbr_dorin.ini");
    ASSERT_TRUE(saved) << "a good records file";
    EXPECT_GT(saved->records[0], 0.0) << "mode A's record, from the series";
    EXPECT_EQ(saved->language, 'R');

    // The next start reads them: one answer shows the total record's line.
    StartExe();
    view.reset();
    ASSERT_TRUE(WaitForPage(view, 30000)) << "started again";
    ASSERT_TRUE(ChooseModeA(*view)) << "mode A's first square";
    Answer(*view, 1);
    WaitUntil([] { return false; }, 500);
    EXPECT_GT(DarkIn(*view, 230, 140), 20) << "the total record read at start" << ScreenSavedTo("windows-again.png");
    EXPECT_TRUE(Close());
}

// A records message stands in the window for its pause, then the page follows: the
// pause is taken after the paint, so the window shows the message meanwhile.
TEST_F(WindowsProgramTest, ARecordsMessageShowsForItsPauseThenThePage)
{
    {
        std::ofstream damaged(dir / "kbr_dorin.ini", std::ios::binary);
        damaged << std::string(295, 'Z');
    }
    StartExe();
    ASSERT_TRUE(WaitUntil([&] {
        const auto w = FindWindowTitled(display, kTitle);
        return w && WhatTheViewShows(*w) == ViewShows::Message;
    }, 90000)) << "the message" << Read(dir / "wine.log") << ScreenSavedTo("windows-message.png");
    const auto shown = std::chrono::steady_clock::now();
    ASSERT_TRUE(WaitUntil([&] {
        const auto w = FindWindowTitled(display, kTitle);
        return w && WhatTheViewShows(*w) == ViewShows::Page;
    }, 15000)) << "the page after the message";
    const auto pause = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - shown);
    EXPECT_GT(pause.count(), 6000) << "the message's pause of 7 s";
    EXPECT_TRUE(Close());
    EXPECT_EQ(Read(dir / "kbr_dorin.ini").size(), 295u) << "a good file written in its place";
}
