// The GUI tests share one wx application and one event loop; each test opens
// and closes its own main window. Run under an X server (xvfb-run in CTest).
#include <gtest/gtest.h>
#include <wx/evtloop.h>

#include "app/vesk.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);

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
    return result;
}
