#include "GuiHarness.h"

#include <cstdlib>
#include <thread>

#include <wx/evtloop.h>
#include <wx/menu.h>

#include "ScreenPixel.h"

void Pump()
{
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    while (loop->Pending())
        loop->Dispatch();
    wxTheApp->ProcessPendingEvents();
    wxTheApp->ProcessIdle();
}

bool WaitFor(const std::function<bool()>& cond, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        Pump();
        if (cond())
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

wxColour PixelAt(wxWindow& w, int x, int y)
{
    const wxPoint at = w.ClientToScreen(wxPoint(x, y));
    const std::int32_t pixel = ReadScreenPixel(at.x, at.y);
    if (pixel < 0)
        return wxNullColour;
    return wxColour((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

// ---------------------------------------------------------------------------------

void GuiTest::SetUp()
{
    home = std::filesystem::current_path();
    std::string name = (std::filesystem::temp_directory_path() / "kbr_gui_XXXXXX").string();
    dir = ::mkdtemp(name.data());
    std::filesystem::current_path(dir);
    BeforeOpen();

    frame = static_cast<CVeskApp*>(wxTheApp)->CreateMainWindow();
    frame->ViewWindow().SetPaintProbe(&probe);
    frame->Show();
    frame->Raise();
    frame->ViewWindow().SetFocus();
    ASSERT_TRUE(WaitFor([&] { return probe.paints >= 2 && !probe.texts.empty(); })) << "no index page";
    // Input goes to the view only once it has the focus.
    ASSERT_TRUE(WaitFor([&] { return wxWindow::FindFocus() == &frame->ViewWindow(); }));
}

void GuiTest::TearDown()
{
    if (frame) {
        frame->ViewWindow().SetPaintProbe(nullptr);
        frame->Destroy();
        WaitFor([] { return wxTopLevelWindows.empty(); });
    }
    std::filesystem::current_path(home);
    std::filesystem::remove_all(dir);
}

bool GuiTest::Shows(const std::string& text) const
{
    for (const auto& t : probe.texts)
        if (t.text == text)
            return true;
    return false;
}

bool GuiTest::ShowsAt(const std::string& text, int x, int y) const
{
    for (const auto& t : probe.texts)
        if (t.text == text && t.x == x && t.y == y)
            return true;
    return false;
}

void GuiTest::Type(int keyCode, int modifiers)
{
    sim.Char(keyCode, modifiers);
}

void GuiTest::ClickTool(int command)
{
    wxAuiToolBar& bar = frame->ToolBar();
    const wxRect rect = bar.GetToolRect(WxIdOf(command));
    sim.MouseMove(bar.ClientToScreen(rect.GetPosition() + rect.GetSize() / 2));
    Pump();
    sim.MouseClick();
}

bool GuiTest::MenuEnabled(int command)
{
    frame->GetMenuBar()->UpdateMenus();
    return frame->GetMenuBar()->IsEnabled(WxIdOf(command));
}

bool GuiTest::ToolEnabled(int command)
{
    Pump();  // the toolbar brings its tools up to date when the program is idle
    return frame->ToolBar().GetToolEnabled(WxIdOf(command));
}

bool GuiTest::WaitForSquare(const wxColour& colour)
{
    return WaitFor([&] { return Doc().m_bTiming && PixelAt(frame->ViewWindow(), 75, 75) == colour; }, 8000);
}

void GuiTest::WaitUntilSquareShownFor(std::uint32_t ms)
{
    WaitFor([&] { return frame->ViewWindow().LastTiming().displayed != 0; });
    const std::uint32_t shown = frame->ViewWindow().LastTiming().displayed;
    WaitFor([&] { return SteadyClock::MonotonicMillis() - shown >= ms; });
}
