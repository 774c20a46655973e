// The window's text as a screen reader is told it: what shows, in reading order,
// and what the latest paint changed.
#include <gtest/gtest.h>

#include "platform/ScreenText.h"

namespace {

// 8 by 16 pixels a character.
Rect At(int x, int y, const std::string& text)
{
    return {x, y, x + 8 * static_cast<int>(text.size()), y + 16};
}

void Draw(ScreenText& screen, int x, int y, const std::string& text)
{
    screen.Add(At(x, y, text), text);
}

}  // namespace

TEST(ScreenText, ReadsWhatShowsInOrderAndTellsWhatChanged)
{
    ScreenText screen;
    screen.BeginPaint();
    Draw(screen, 230, 20, "Mode A: finding reaction.");
    Draw(screen, 30, 190, "2340 ms delay.");
    Draw(screen, 30, 170, "   STARTED...");
    Draw(screen, 30, 20, "Series:");
    EXPECT_EQ(screen.Read(), "Series: Mode A: finding reaction.\nSTARTED...\n2340 ms delay.");

    // The next paint writes the verdict where "STARTED..." stood, and draws the square.
    screen.BeginPaint();
    Draw(screen, 30, 170, "312 ms REACTION.");
    screen.Erase({30, 40, 120, 130});
    EXPECT_EQ(screen.Read(), "Series: Mode A: finding reaction.\n312 ms REACTION.\n2340 ms delay.");
    EXPECT_EQ(screen.Added(), "312 ms REACTION.");

    // A page cleared whole, and a paint that draws only blanks.
    screen.BeginPaint();
    screen.Erase({0, 0, 558, 285});
    Draw(screen, 30, 170, "      ");
    EXPECT_EQ(screen.Read(), "");
    EXPECT_EQ(screen.Added(), "");
}
