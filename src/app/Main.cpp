// Entry point: the program takes no options of its own beyond --help and --version,
// and refuses anything else before a window or a display is needed.
#include <cstdio>
#include <cstring>

#include <wx/app.h>

#include "app/vesk.h"

namespace {

constexpr const char* kUsage =
    "Usage: kbr_dorin [--help | --version]\n"
    "Test and train your reaction: after a random wait a coloured square appears;\n"
    "answer it with a key or a mouse button. The records are kept in kbr_dorin.ini\n"
    "and kbr_dorin.bak in the working directory.\n";

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
        std::fprintf(stderr, "kbr_dorin: unexpected argument '%s' (try --help)\n", argv[1]);
        return 2;
    }
    wxApp::SetInstance(new CVeskApp);
    return wxEntry(argc, argv);
}
