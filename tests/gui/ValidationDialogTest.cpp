// The Validation dialog on the real window: opened from the menu, the user copies
// their own triple into the check fields, types it and presses "verify".
#include <wx/button.h>
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
