// Entry point: the program takes no options of its own beyond --help and --version,
// and refuses anything else before a window or a display is needed.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdlib.h>
#include <filesystem>
#include <system_error>

#include <wx/app.h>

#include "app/vesk.h"
#include "history/sqlite/SqliteHistory.h"
#include "resources/Version.h"

namespace {

constexpr const char* kUsage =
    "Usage: kbr_dorin [--help | --version | --export-history FILE.csv]\n"
    "Test and train your reaction: after a random wait a coloured square appears;\n"
    "answer it with a key or a mouse button. The records are kept in kbr_dorin.ini\n"
    "and kbr_dorin.bak in the working directory, every answer in kbr_dorin.db.\n"
    "\n"
    "  --export-history FILE.csv  write every answer in kbr_dorin.db to FILE.csv\n"
    "                             (one row per answer; see the README for the columns)\n";

// Started from the desktop menu (its entry sets KBR_DORIN_DESKTOP), the program works
// in the user's data folder, so its records files do not litter the home folder.
// Started from a terminal it keeps the working directory it was given.
// False when the data folder cannot be used and the program stays where it was
// started (the window says so too: nobody reads a desktop program's stderr).
bool EnterDesktopDataFolder()
{
    const char* desktop = std::getenv("KBR_DORIN_DESKTOP");
    if (!desktop || !*desktop)
        return true;
    std::filesystem::path base;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
        base = data;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::filesystem::path(home) / ".local" / "share";
    else
        return false;
    std::error_code error;
    const auto folder = base / "kbr_dorin";
    std::filesystem::create_directories(folder, error);
    std::filesystem::current_path(folder, error);
    if (error) {
        std::fprintf(stderr, "kbr_dorin: cannot use %s: %s\n", folder.c_str(), error.message().c_str());
        return false;
    }
    return true;
}

// --export-history: an export ended by a signal stops at the next row, leaves the
// file it would have replaced as it was, and then ends as the signal asked.
volatile std::sig_atomic_t g_stopSignal = 0;

int ExportHistory(const char* csvPath)
{
    for (const int sig : {SIGINT, SIGTERM, SIGHUP})
        std::signal(sig, [](int sig) { g_stopSignal = sig; });
    std::string error;
    const int rows = history::ExportCsv(history::kDatabaseName, csvPath, &error, [] { return g_stopSignal != 0; });
    if (rows < 0) {
        std::fprintf(stderr, "kbr_dorin: %s\n", error.c_str());
        if (g_stopSignal != 0) {
            std::signal(g_stopSignal, SIG_DFL);
            std::raise(g_stopSignal);
        }
        return 1;
    }
    std::printf("kbr_dorin: %d answers written to %s\n", rows, csvPath);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1) {
        if (std::strcmp(argv[1], "--help") == 0 && argc == 2) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[1], "--version") == 0 && argc == 2) {
            std::printf("kbr_dorin %s (built %s)\n", KBR_VERSION, KBR_BUILD_DATE);
            return 0;
        }
        if (std::strcmp(argv[1], "--export-history") == 0) {
            if (argc == 3 && *argv[2] != '\0')
                return ExportHistory(argv[2]);
            if (argc < 3 || *argv[2] == '\0') {
                std::fprintf(stderr, "kbr_dorin: --export-history needs the name of the file to write "
                                     "(kbr_dorin --export-history FILE.csv)\n");
                return 2;
            }
            std::fprintf(stderr, "kbr_dorin: unexpected argument '%s' (try --help)\n", argv[3]);
            return 2;
        }
        std::fprintf(stderr, "kbr_dorin: unexpected argument '%s' (try --help)\n", argv[1]);
        return 2;
    }
    // The program draws nothing with OpenGL. Without this, GTK probes OpenGL when it
    // opens the display, which on machines without a GPU loads a software renderer
    // of some 50 MB and slows the start.
    ::setenv("GDK_GL", "disable", 0);
    const bool inDataFolder = EnterDesktopDataFolder();
    // Held until the program handles them in its main loop (see CVeskApp::OnInit),
    // so that one that comes during the start ends it as cleanly as any other.
    CVeskApp::HoldEndingSignals(true);
    auto* app = new CVeskApp;
    if (!inDataFolder)
        app->TellAtStart(notice::kDataFolder);
    wxApp::SetInstance(app);
    const int status = wxEntry(argc, argv);
    return status < 0 ? 1 : status;  // -1: the display could not be opened
}
