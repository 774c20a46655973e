// The Validation dialog on the real window: opened from the menu, the user copies
// their own triple into the check fields, types it and presses "verify".
#include <functional>

#include <gtk/gtk.h>
#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include "GuiHarness.h"
#include "dialogs/ValidationDlg.h"

namespace {

CValidationDlg* OpenValidationDialog()
{
    for (wxWindow* w : wxTopLevelWindows)
        if (auto* dlg = dynamic_cast<CValidationDlg*>(w); dlg && dlg->IsShown())
            return dlg;
    return nullptr;
}

}  // namespace

TEST_F(GuiTest, ValidationDialogVerifiesTheUsersOwnTriple)
{
    Doc().m_dTotalRecord = {180.3, 0.0, 0.0};  // as loaded at start-up
    std::string own[3], answers[2];

    // The dialog is modal: what the user does in it runs from a timer inside its loop.
    wxTimer poll;
    poll.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        CValidationDlg* dlg = OpenValidationDialog();
        if (!dlg)
            return;
        poll.Stop();
        auto text = [&](int id) { return static_cast<wxTextCtrl*>(dlg->FindWindow(id)); };
        auto click = [&](wxWindow* w) {
            sim.MouseMove(w->GetScreenRect().GetPosition() + w->GetSize() / 2);
            Pump();
            sim.MouseClick();
            WaitFor([&] { return wxWindow::FindFocus() == w || dynamic_cast<wxButton*>(w); }, 2000);
        };
        auto typeInto = [&](int id, const std::string& value) {
            click(text(id));
            sim.Char('a', wxMOD_CONTROL);
            sim.Text(value.c_str());
            WaitFor([&] { return text(id)->GetValue() == value; }, 3000);
        };
        auto verify = [&] {
            text(CValidationDlg::kIdAnswer)->ChangeValue("");
            click(dlg->FindWindow(CValidationDlg::kIdVerify));
            WaitFor([&] { return !text(CValidationDlg::kIdAnswer)->GetValue().empty(); }, 3000);
            return text(CValidationDlg::kIdAnswer)->GetValue().ToStdString();
        };

        own[0] = text(CValidationDlg::kIdHdVol)->GetValue().ToStdString();
        own[1] = text(CValidationDlg::kIdRecord[0])->GetValue().ToStdString();
        own[2] = text(CValidationDlg::kIdValidator[0])->GetValue().ToStdString();
        typeInto(CValidationDlg::kIdCheckHdVol, own[0]);
        typeInto(CValidationDlg::kIdCheckRecord, own[1]);
        typeInto(CValidationDlg::kIdCheckValidator, own[2]);
        answers[0] = verify();
        typeInto(CValidationDlg::kIdCheckValidator, "12345");
        answers[1] = verify();
        click(dlg->FindWindow(wxID_OK));
    });
    poll.Start(50);

    Type('m', wxMOD_ALT);
    Pump();
    Type('v');
    ASSERT_TRUE(WaitFor([&] { return !poll.IsRunning() && !OpenValidationDialog(); }, 30000));

    EXPECT_EQ(own[0], std::to_string(Doc().m_nHdVol));
    EXPECT_EQ(own[1], "180.3");
    EXPECT_EQ(own[2], std::to_string(Doc().m_nValidator[0]));
    EXPECT_EQ(answers[0], "TRUE");
    EXPECT_EQ(answers[1], "FALSE");
}

// ---------------------------------------------------------------------------------
// Nothing of either dialog is cut, in any language: every number box shows the
// widest number it can hold, every text fits its box, and the frames' titles stand
// where the original's did.

namespace {

// Opens a dialog with show (which returns when it closes) and runs look on it.
void LookAtDialog(const std::function<void()>& show, const std::function<void(wxDialog&)>& look)
{
    wxTimer poll;
    poll.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        for (wxWindow* w : wxTopLevelWindows)
            if (auto* dlg = dynamic_cast<wxDialog*>(w); dlg && dlg->IsShown() && dlg->IsModal()) {
                poll.Stop();
                WaitFor([] { return false; }, 100);  // laid out and drawn
                look(*dlg);
                dlg->EndModal(wxID_OK);
                return;
            }
    });
    poll.Start(50);
    show();
    poll.Stop();
}

void ExpectNothingCut(wxWindow& dlg, int skipId = wxID_ANY)
{
    for (wxWindow* child : dlg.GetChildren()) {
        if (child->GetId() == skipId)
            continue;
        if (auto* box = dynamic_cast<wxTextCtrl*>(child)) {
            const wxSize need = box->GetSizeFromTextSize(box->GetTextExtent("-0000000000"));
            EXPECT_GE(box->GetSize().x, need.x) << "number box " << child->GetId();
        } else if (auto* text = dynamic_cast<wxStaticText*>(child)) {
            wxClientDC dc(text);
            dc.SetFont(text->GetFont());
            const wxSize need = dc.GetMultiLineTextExtent(text->GetLabel());
            EXPECT_GE(text->GetSize().x, need.x) << "text \"" << text->GetLabel() << "\"";
            EXPECT_GE(text->GetSize().y, need.y) << "text \"" << text->GetLabel() << "\"";
            EXPECT_TRUE(dlg.GetClientRect().Contains(text->GetRect())) << "text \"" << text->GetLabel() << "\"";
        }
    }
}

}  // namespace

TEST_F(GuiTest, ValidationDialogCutsNothingInAnyLanguage)
{
    for (char language : {'E', 'R', 'L', 'T'}) {
        SCOPED_TRACE(language);
        Doc().m_chLanguage = language;
        LookAtDialog([&] { frame->ViewWindow().View().ShowValidationDialog(); }, [&](wxDialog& dlg) {
            ExpectNothingCut(dlg, CValidationDlg::kIdAnswer);
            for (wxWindow* child : dlg.GetChildren()) {
                auto* box = dynamic_cast<wxStaticBox*>(child);
                if (!box)
                    continue;
                GtkWidget* title = gtk_frame_get_label_widget(GTK_FRAME(box->GetHandle()));
                ASSERT_TRUE(title);
                GtkAllocation at;
                gtk_widget_get_allocation(title, &at);
                EXPECT_NEAR(at.x, dlg.ConvertDialogToPixels(wxPoint(41, 0)).x, 3) << box->GetLabel();
            }
        });
    }
}

TEST_F(GuiTest, AboutDialogCutsNothing)
{
    LookAtDialog([&] { frame->ViewWindow().View().ShowAboutDialog(); }, [&](wxDialog& dlg) {
        ExpectNothingCut(dlg);
        const wxRect ok = dlg.FindWindow(wxID_OK)->GetRect();
        for (wxWindow* child : dlg.GetChildren())
            if (dynamic_cast<wxStaticText*>(child)) {
                EXPECT_FALSE(child->GetRect().Intersects(ok)) << "under the button";
            }
    });
}
