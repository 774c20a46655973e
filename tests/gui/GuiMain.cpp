// The GUI tests share one wx application and one event loop; each test opens
// and closes its own main window. Run under an X server (xvfb-run in CTest).
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>
#include <wx/evtloop.h>

#include "app/vesk.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);

    // The program keeps its records in the working directory: use a scratch one.
    const auto dir = std::filesystem::temp_directory_path() / ("kbr_gui_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);

    wxApp::SetInstance(new CVeskApp);
    int wxArgc = 1;
    if (!wxEntryStart(wxArgc, argv))
        return 1;
    int result = 1;
    {
        wxEventLoop loop;
        wxEventLoopActivator active(&loop);
        result = RUN_ALL_TESTS();
    }
    wxEntryCleanup();
    std::filesystem::remove_all(std::filesystem::temp_directory_path() / ("kbr_gui_" + std::to_string(::getpid())));
    return result;
}
