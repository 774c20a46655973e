// The records are saved however the program is ended in the ordinary way: the
// real program, in a process of its own, on a first run in an empty directory.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

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

// Starts argv in dir with the given display. Everything is prepared before the
// fork: this process has threads, so the child may only make plain system calls.
pid_t Spawn(const fs::path& dir, const std::string& display, const std::vector<const char*>& argv,
            const std::vector<std::string>& extraEnv = {})
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

    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::chdir(where.c_str()) == 0)
            ::execve(argv[0], const_cast<char* const*>(argv.data()), envp.data());
        ::_exit(127);
    }
    return pid;
}

// Waits for the process to end; false when it did not within timeoutMs.
bool Reap(pid_t pid, int timeoutMs)
{
    int status = 0;
    const bool ended = WaitUntil([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }, timeoutMs);
    if (!ended) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
    }
    return ended;
}

class ExitTest : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("kbr_exit_" + std::to_string(::getpid()) + "_" + GetParam());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // The program has read its records (on a first run that creates the records file).
    bool Started(const fs::path& where)
    {
        return WaitUntil([&] { return fs::exists(where / "kbr_dorin.ini"); }, 15000);
    }
    bool Started() { return Started(dir); }

    // On a first run the backup copy is written at exit, a copy of the records file.
    void ExpectSaved(const fs::path& where)
    {
        ASSERT_TRUE(fs::exists(where / "kbr_dorin.bak")) << "the records were not saved";
        EXPECT_EQ(Read(where / "kbr_dorin.ini").size(), 295u);
        EXPECT_EQ(Read(where / "kbr_dorin.bak"), Read(where / "kbr_dorin.ini"));
    }
    void ExpectSaved() { ExpectSaved(dir); }

    fs::path dir;
};

}  // namespace

TEST_P(ExitTest, RecordsAreSavedWhenTheProgramIsEnded)
{
    const std::string how = GetParam();
    const int sig = how == "SIGTERM" ? SIGTERM : how == "SIGINT" ? SIGINT : how == "SIGHUP" ? SIGHUP : 0;
    if (sig != 0) {
        const pid_t program = Spawn(dir, ::getenv("DISPLAY"), {KBR_PROGRAM, nullptr});
        ASSERT_TRUE(Started());
        ::kill(program, sig);
        ASSERT_TRUE(Reap(program, 15000));
    } else {
        // The end of the desktop session: the display goes away under the program.
        const std::string display = ":" + std::to_string(200 + ::getpid() % 500);
        const pid_t server = Spawn(dir, display, {"/usr/bin/Xvfb", display.c_str(), "-nolisten", "tcp", nullptr});
        ASSERT_TRUE(WaitUntil([&] { return fs::exists("/tmp/.X11-unix/X" + display.substr(1)); }, 15000));
        const pid_t program = Spawn(dir, display, {KBR_PROGRAM, nullptr});
        ASSERT_TRUE(Started());
        ::kill(server, SIGTERM);
        Reap(server, 15000);
        ASSERT_TRUE(Reap(program, 15000));
    }
    ExpectSaved();
}

INSTANTIATE_TEST_SUITE_P(Ways, ExitTest, testing::Values("SIGTERM", "SIGINT", "SIGHUP", "DisplayLost"));

// Started from the desktop menu, the program keeps its records in the user's data
// folder; from a terminal, in the working directory it was given (the tests above).
TEST(DesktopStart, RecordsLiveInTheUsersDataFolder)
{
    const fs::path home = fs::temp_directory_path() / ("kbr_home_" + std::to_string(::getpid()));
    fs::remove_all(home);
    fs::create_directories(home / "cwd");
    const fs::path data = home / ".local" / "share" / "kbr_dorin";
    const pid_t program = Spawn(home / "cwd", ::getenv("DISPLAY"), {KBR_PROGRAM, nullptr},
                                {"KBR_DORIN_DESKTOP=1", "HOME=" + home.string()});
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(data / "kbr_dorin.ini"); }, 15000));
    ::kill(program, SIGTERM);
    ASSERT_TRUE(Reap(program, 15000));
    EXPECT_TRUE(fs::exists(data / "kbr_dorin.bak"));
    EXPECT_TRUE(fs::is_empty(home / "cwd")) << "nothing in the directory it was started from";
    fs::remove_all(home);
}
