// The History window on the real window: opened from the toolbar on
// a history of known series, it draws each series average where its value says,
// switches modes on a click and closes on Esc.

#include <cstdlib>
#include <fstream>

#include <wx/timer.h>
#include <wx/utils.h>

#include <gtk/gtk.h>

#include "GuiHarness.h"
#include "history/sqlite/SqliteHistory.h"
#include "history/wx/HistoryDlg.h"

namespace {

history::CHistoryDlg* OpenHistoryWindow()
{
    for (wxWindow* w : wxTopLevelWindows)
        if (auto* dlg = dynamic_cast<history::CHistoryDlg*>(w); dlg && dlg->IsShown())
            return dlg;
    return nullptr;
}

void AddSeries(history::Log& log, char mode, std::int64_t utcMillis, int time)
{
    history::Series series;
    series.utcMillis = utcMillis;
    series.mode = mode;
    series.times.assign(10, time);
    history::Summarize(series);
    for (int i = 0; i < 10; ++i) {
        history::Answer answer;
        answer.utcMillis = utcMillis - (9 - i) * 3000;
        answer.mode = mode;
        answer.colour = "black";
        answer.shownMs = answer.rawMs = time;
        log.Add(answer, i == 9 ? &series : nullptr);
    }
}

class HistoryWindowTest : public GuiTest {
protected:
    void BeforeOpen() override
    {
        history::Problem problem;
        auto log = history::SqliteHistory::OpenForWriting(history::kDatabaseName, &problem);
        ASSERT_TRUE(log);
        const std::int64_t day = 24LL * 3600 * 1000, start = 1'790'000'000'000;
        AddSeries(*log, 'a', start, 300);
        AddSeries(*log, 'a', start + 2 * day, 250);
        AddSeries(*log, 'a', start + 3 * day, 280);
        AddSeries(*log, 'b', start + day, 400);
    }
};

}  // namespace

TEST_F(HistoryWindowTest, DrawsTheSeriesOfTheHistoryAndSwitchesModes)
{
    Doc().m_dTotalRecord = {260.0, 0.0, 0.0};  // as loaded at start-up
    std::vector<wxPoint2DDouble> modeA, pointsB;
    bool chartFocused = false, backToA = false;
    std::vector<int> picked;
    std::string described;
    double recordY = -1;
    std::vector<wxColour> dots;
    wxColour lineColour;
    bool closed = false;

    // The window is modal: what the user does in it runs from a timer inside its loop.
    wxTimer poll;
    poll.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        history::CHistoryDlg* dlg = OpenHistoryWindow();
        if (!dlg)
            return;
        poll.Stop();
        history::HistoryChart& chart = dlg->Chart();
        WaitFor([&] { return chart.AveragePoints().size() == 3; }, 5000);
        WaitFor([] { return false; }, 300);  // on the screen
        modeA = chart.AveragePoints();
        recordY = chart.RecordY();
        lineColour = chart.LineColour();
        for (const auto& p : modeA)
            dots.push_back(PixelAt(chart, static_cast<int>(std::lround(p.m_x)), static_cast<int>(std::lround(p.m_y))));

        // Mode B, by a click on its button.
        wxWindow* modeB = dlg->FindWindow(history::CHistoryDlg::kIdModeA + 1);
        sim.MouseMove(modeB->GetScreenRect().GetPosition() + modeB->GetSize() / 2);
        Pump();
        sim.MouseClick();
        WaitFor([&] { return chart.AveragePoints().size() == 1; }, 5000);
        pointsB = chart.AveragePoints();
        if (const char* shot = std::getenv("KBR_SCREENSHOT_DIR"))
            wxExecute(wxString::Format("import -window root %s/history.png", shot), wxEXEC_SYNC);

        // Alt+A back to mode A; a click into the chart picks the series nearest to
        // it and gives the chart the keys, which step through the series.
        Type('a', wxMOD_ALT);
        backToA = WaitFor([&] { return chart.AveragePoints().size() == 3; }, 5000);
        const wxPoint first = chart.ClientToScreen(wxPoint(static_cast<int>(chart.AveragePoints()[0].m_x) + 2,
                                                            static_cast<int>(chart.AveragePoints()[0].m_y)));
        sim.MouseMove(first);
        Pump();
        sim.MouseClick();
        chartFocused = WaitFor([&] { return chart.Selected() == 0; }, 5000);
        const std::pair<int, int> steps[] = {{WXK_END, 2}, {WXK_LEFT, 1}, {WXK_HOME, 0}, {WXK_LEFT, 0}};
        for (const auto& [key, expected] : steps) {
            Type(key);
            WaitFor([&] { return chart.Selected() == expected; }, 3000);
            WaitFor([] { return false; }, 100);
            picked.push_back(chart.Selected());
        }
        Type(WXK_RIGHT);
        WaitFor([&] { return chart.Selected() == 1; }, 2000);
        described = chart.Description();

        Type(WXK_ESCAPE);
        closed = WaitFor([] { return OpenHistoryWindow() == nullptr; }, 5000);
    });
    poll.Start(50);

    EXPECT_TRUE(MenuEnabled(cmd::kMenuHistory));
    EXPECT_TRUE(ToolEnabled(cmd::kToolHistory));
    ClickTool(cmd::kToolHistory);
    ASSERT_TRUE(WaitFor([&] { return closed || !pointsB.empty(); }, 20000)) << "the History window did not open";
    WaitFor([&] { return closed; }, 6000);
    poll.Stop();

    ASSERT_EQ(modeA.size(), 3u);
    // Older to the left; a lower average stands lower... on the screen, higher y.
    EXPECT_LT(modeA[0].m_x, modeA[1].m_x);
    EXPECT_LT(modeA[1].m_x, modeA[2].m_x);
    EXPECT_GT(modeA[1].m_y, modeA[2].m_y) << "250 below 280";
    EXPECT_GT(modeA[2].m_y, modeA[0].m_y) << "280 below 300";
    // Spaced by time: the second series came two days after the first, the third one after it.
    EXPECT_NEAR((modeA[1].m_x - modeA[0].m_x) / (modeA[2].m_x - modeA[1].m_x), 2.0, 0.05);
    // The record of 260 lies between 250 and 280, in proportion.
    EXPECT_NEAR((recordY - modeA[2].m_y) / (modeA[1].m_y - modeA[2].m_y), 20.0 / 30.0, 0.02);
    for (const wxColour& dot : dots)
        EXPECT_EQ(dot, lineColour) << "a dot of the chart on the screen";
    EXPECT_EQ(pointsB.size(), 1u) << "mode B's one series";
    EXPECT_TRUE(backToA) << "Alt+A";
    EXPECT_TRUE(chartFocused) << "the click picked the first series";
    EXPECT_EQ(picked, (std::vector<int>{2, 1, 0, 0}));
    EXPECT_NE(described.find("250.0 ms"), std::string::npos) << described;
    EXPECT_TRUE(closed) << "Esc closes the window";
}

// A history that cannot be read: the window says where the file is and what to do,
// in the program's language, and offers no modes to switch and nothing to export.
class DamagedHistoryWindowTest : public GuiTest {
protected:
    void BeforeOpen() override { std::ofstream(history::kDatabaseName) << std::string(8192, 'Z'); }
};

TEST_F(DamagedHistoryWindowTest, SaysWhereTheFileIsAndOffersNothingItCannotDo)
{
    bool seen = false, modesEnabled = true, exportEnabled = true;
    wxTimer poll;
    poll.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        history::CHistoryDlg* dlg = OpenHistoryWindow();
        if (!dlg)
            return;
        poll.Stop();
        WaitFor([] { return false; }, 300);
        modesEnabled = false;
        for (int m = 0; m < 3; ++m)
            modesEnabled |= dlg->FindWindow(history::CHistoryDlg::kIdModeA + m)->IsEnabled();
        exportEnabled = dlg->FindWindow(history::CHistoryDlg::kIdExport)->IsEnabled();
        seen = !dlg->Readable();
        if (const char* shot = std::getenv("KBR_SCREENSHOT_DIR"))
            wxExecute(wxString::Format("import -window root %s/damaged-history.png", shot), wxEXEC_SYNC);
        dlg->EndModal(wxID_CANCEL);
    });
    poll.Start(50);
    ClickTool(cmd::kToolHistory);
    ASSERT_TRUE(WaitFor([&] { return seen; }, 20000)) << "the History window did not open";
    WaitFor([] { return OpenHistoryWindow() == nullptr; }, 5000);
    EXPECT_FALSE(modesEnabled);
    EXPECT_FALSE(exportEnabled);
}

// The export's file dialog fits a screen of 1024 by 768, whatever size the toolkit
// remembers for it; choosing a file that is there already is asked about in the
// program's language, and a No leaves it as it was.
TEST_F(HistoryWindowTest, TheExportsFileDialogFitsTheScreenAndAsksInTheProgramsLanguage)
{
    Doc().m_chLanguage = 'L';
    std::ofstream("kbr_dorin-history.csv") << "mine\n";
    wxRect fileDialog;
    bool opened = false, closed = false;
    int chooserShown = 0;
    std::string asked;
    // The dialogs run loops of their own: looked at from a timer inside them.
    wxTimer look;
    look.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        GList* windows = gtk_window_list_toplevels();
        for (GList* w = windows; w; w = w->next) {
            GtkWidget* widget = GTK_WIDGET(w->data);
            if (!gtk_widget_get_mapped(widget))
                continue;
            if (GTK_IS_MESSAGE_DIALOG(widget) && asked.empty()) {
                gchar* text = nullptr;
                g_object_get(widget, "text", &text, nullptr);
                asked = text ? text : "";
                g_free(text);
                gtk_dialog_response(GTK_DIALOG(widget), GTK_RESPONSE_NO);
                break;
            }
            if (!GTK_IS_FILE_CHOOSER_DIALOG(widget))
                continue;
            WaitFor([] { return false; }, 300);
            if (++chooserShown == 1) {
                GdkRectangle rect{};
                gdk_window_get_frame_extents(gtk_widget_get_window(widget), &rect);
                fileDialog = wxRect(rect.x, rect.y, rect.width, rect.height);
                opened = true;
                if (const char* shot = std::getenv("KBR_SCREENSHOT_DIR"))
                    wxExecute(wxString::Format("import -window root %s/export-dialog.png", shot), wxEXEC_SYNC);
                gtk_dialog_response(GTK_DIALOG(widget), GTK_RESPONSE_ACCEPT);  // the file that is there
            } else if (!asked.empty()) {
                gtk_dialog_response(GTK_DIALOG(widget), GTK_RESPONSE_CANCEL);
                closed = true;
            }
            break;
        }
        g_list_free(windows);
    });
    wxTimer poll;
    poll.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        history::CHistoryDlg* dlg = OpenHistoryWindow();
        if (!dlg)
            return;
        poll.Stop();
        WaitFor([] { return false; }, 300);
        wxWindow* exportButton = dlg->FindWindow(history::CHistoryDlg::kIdExport);
        sim.MouseMove(exportButton->GetScreenRect().GetPosition() + exportButton->GetSize() / 2);
        Pump();
        look.Start(100);
        sim.MouseClick();
        WaitFor([&] { return closed; }, 15000);
        look.Stop();
        dlg->EndModal(wxID_CANCEL);
    });
    poll.Start(50);
    ClickTool(cmd::kToolHistory);
    ASSERT_TRUE(WaitFor([&] { return opened; }, 20000)) << "the file dialog did not open";
    WaitFor([] { return OpenHistoryWindow() == nullptr; }, 20000);
    look.Stop();
    const wxRect screen(0, 0, 1024, 768);
    EXPECT_TRUE(screen.Contains(fileDialog)) << fileDialog.x << "," << fileDialog.y << " " << fileDialog.width << "x"
                                             << fileDialog.height;
    EXPECT_NE(asked.find("jau yra. Pakeisti jį?"), std::string::npos) << asked;
    EXPECT_TRUE(closed);
    std::ifstream kept("kbr_dorin-history.csv");
    std::string line;
    std::getline(kept, line);
    EXPECT_EQ(line, "mine") << "not replaced";
}
