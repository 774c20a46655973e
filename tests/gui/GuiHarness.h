// Drives the real program window under an X server: creates the main window,
// sends real key and mouse events through XTest, waits on conditions, and reads
// the window's pixels and the texts its paints drew.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/uiaction.h>

#include "app/CommandMap.h"
#include "app/MainFrm.h"
#include "app/vesk.h"

// Every text of the latest paint; a paint erases what the one before drew.
class TextProbe : public PaintProbe {
public:
    void PaintBegins() override
    {
        ++paints;
        texts.clear();
    }
    void TextDrawn(int x, int y, std::string_view text) override { texts.push_back({x, y, std::string(text)}); }

    struct Text {
        int x, y;
        std::string text;
    };
    int paints = 0;
    std::vector<Text> texts;
};

// Runs the event loop until cond holds or timeoutMs passes; false on time-out.
bool WaitFor(const std::function<bool()>& cond, int timeoutMs = 8000);
// Handles whatever events are waiting, without waiting for more.
void Pump();

// The colour of a pixel of window w's client area, read back from the screen.
wxColour PixelAt(wxWindow& w, int x, int y);

// Each test opens the main window in a fresh working directory of its own, so
// no test sees the records another one left.
class GuiTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Runs in the fresh directory before the window opens.
    virtual void BeforeOpen() {}

    CVeskDoc& Doc() { return frame->ViewWindow().View().GetDocument(); }
    bool Shows(const std::string& text) const;
    bool ShowsAt(const std::string& text, int x, int y) const;
    // Types a key as a person does: press and release.
    void Type(int keyCode, int modifiers = wxMOD_NONE);
    void ClickTool(int command);
    bool MenuEnabled(int command);
    bool ToolEnabled(int command);
    // Waits until the random wait is over and the square is on the screen.
    bool WaitForSquare(const wxColour& colour);
    // Lets ms pass from the square's onset, as a person's reaction would.
    void WaitUntilSquareShownFor(std::uint32_t ms);

    CMainFrame* frame = nullptr;
    std::filesystem::path home, dir;
    TextProbe probe;
    wxUIActionSimulator sim;
};
