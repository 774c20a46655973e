#include "dialogs/ValidationDlg.h"

#include <wx/button.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

wxString FromUtf8(const std::string& text)
{
    return wxString::FromUTF8(text.data(), text.size());
}

std::string ToUtf8(const wxString& text)
{
    const wxScopedCharBuffer utf8 = text.utf8_str();
    return std::string(utf8.data(), utf8.length());
}

}  // namespace

// Every control at its place in dialog units, so the dialog keeps its proportions
// whatever font the desktop uses.
CValidationDlg::CValidationDlg(wxWindow* parent, ValidationLogic& form, Clock& clock)
    : wxDialog(parent, wxID_ANY, "Validation", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      m_form(form),
      m_clock(clock)
{
    SetClientSize(ConvertDialogToPixels(wxSize(392, 282)));

    m_language = Label(kIdLanguage, "", 7, 7, 8, 8);
    // The titles of the three frames stand on their top edges: they are the frames' labels.
    m_ideaFrame = Frame(17, 14, 358, 102);
    m_paragraph1 = Label(kIdParagraph1, "", 27, 33, 334, 16);
    m_paragraph2 = Label(kIdParagraph2, "", 27, 52, 336, 26);

    m_dataFrame = Frame(17, 125, 358, 70);
    Label(wxID_ANY, "HdVol", 34, 154, 25, 10);
    m_hdVol = Edit(kIdHdVol, 61, 152, 45, 12);
    m_hdVolHex = Label(kIdHdVolHex, "", 112, 154, 33, 8);
    Label(wxID_ANY, "mode A", 226, 140, 25, 8);
    Label(wxID_ANY, "mode B", 273, 140, 25, 8);
    Label(wxID_ANY, "mode C", 322, 140, 25, 8);
    Label(wxID_ANY, "record", 186, 154, 25, 8);
    Label(wxID_ANY, "validator", 180, 169, 31, 8);
    const int columns[3] = {215, 263, 312};
    for (int m = 0; m < 3; ++m) {
        m_record[m] = Edit(kIdRecord[m], columns[m], 152, 45, 12);
        m_validator[m] = Edit(kIdValidator[m], columns[m], 167, 45, 12);
    }

    m_checkFrame = Frame(17, 204, 315, 63);
    m_instruction = Label(kIdInstruction, "", 27, 225, 140, 24);
    Label(wxID_ANY, "HdVol", 193, 218, 23, 9);
    Label(wxID_ANY, "record", 192, 232, 24, 10);
    Label(wxID_ANY, "validator", 186, 246, 29, 10);
    m_checkHdVol = Edit(kIdCheckHdVol, 221, 216, 45, 12);
    m_checkRecord = Edit(kIdCheckRecord, 221, 230, 45, 12);
    m_checkValidator = Edit(kIdCheckValidator, 221, 244, 45, 12);
    auto* verify = new wxButton(this, kIdVerify, "verify", ConvertDialogToPixels(wxPoint(281, 221)),
                                ConvertDialogToPixels(wxSize(37, 12)));
    m_answer = Edit(kIdAnswer, 281, 240, 38, 15);

    auto* ok = new wxButton(this, wxID_OK, "OK", ConvertDialogToPixels(wxPoint(343, 217)),
                            ConvertDialogToPixels(wxSize(32, 12)));
    new wxButton(this, wxID_CANCEL, "Cancel", ConvertDialogToPixels(wxPoint(343, 238)),
                 ConvertDialogToPixels(wxSize(32, 12)));
    ok->SetDefault();

    verify->Bind(wxEVT_BUTTON, &CValidationDlg::OnVerify, this);
    CentreOnParent();
}

wxTextCtrl* CValidationDlg::Edit(int id, int x, int y, int w, int h)
{
    return new wxTextCtrl(this, id, wxString(), ConvertDialogToPixels(wxPoint(x, y)), ConvertDialogToPixels(wxSize(w, h)));
}

wxStaticText* CValidationDlg::Label(int id, const char* text, int x, int y, int w, int h)
{
    return new wxStaticText(this, id, text, ConvertDialogToPixels(wxPoint(x, y)), ConvertDialogToPixels(wxSize(w, h)),
                            wxST_NO_AUTORESIZE);
}

wxStaticBox* CValidationDlg::Frame(int x, int y, int w, int h)
{
    return new wxStaticBox(this, wxID_ANY, wxString(), ConvertDialogToPixels(wxPoint(x, y)),
                           ConvertDialogToPixels(wxSize(w, h)));
}

// ---------------------------------------------------------------------------------

bool CValidationDlg::TransferDataToWindow()
{
    m_language->SetLabel(FromUtf8(m_form.m_strLanguage));
    m_ideaFrame->SetLabel(FromUtf8(m_form.m_strIdeaTitle));
    m_dataFrame->SetLabel(FromUtf8(m_form.m_strDataTitle));
    m_checkFrame->SetLabel(FromUtf8(m_form.m_strCheckTitle));
    m_paragraph1->SetLabel(FromUtf8(m_form.m_strParagraph1));
    m_paragraph2->SetLabel(FromUtf8(m_form.m_strParagraph2));
    m_instruction->SetLabel(FromUtf8(m_form.m_strInstruction));
    for (auto* text : {m_paragraph1, m_paragraph2, m_instruction})
        text->Wrap(text->GetSize().x);
    m_hdVolHex->SetLabel(FromUtf8(m_form.m_strHdVolHex));
    m_hdVol->ChangeValue(FromUtf8(m_form.m_strHdVol));
    for (int m = 0; m < 3; ++m) {
        m_record[m]->ChangeValue(FromUtf8(m_form.m_strRecord[m]));
        m_validator[m]->ChangeValue(FromUtf8(m_form.m_strValidator[m]));
    }
    m_checkHdVol->ChangeValue(FromUtf8(m_form.m_strCheckHdVol));
    m_checkRecord->ChangeValue(FromUtf8(m_form.m_strCheckRecord));
    m_checkValidator->ChangeValue(FromUtf8(m_form.m_strCheckValidator));
    m_answer->ChangeValue(FromUtf8(m_form.m_strAnswer));
    return true;
}

// The labels are the program's own; only the edit boxes come back.
bool CValidationDlg::TransferDataFromWindow()
{
    m_form.m_strHdVol = ToUtf8(m_hdVol->GetValue());
    for (int m = 0; m < 3; ++m) {
        m_form.m_strRecord[m] = ToUtf8(m_record[m]->GetValue());
        m_form.m_strValidator[m] = ToUtf8(m_validator[m]->GetValue());
    }
    m_form.m_strCheckHdVol = ToUtf8(m_checkHdVol->GetValue());
    m_form.m_strCheckRecord = ToUtf8(m_checkRecord->GetValue());
    m_form.m_strCheckValidator = ToUtf8(m_checkValidator->GetValue());
    m_form.m_strAnswer = ToUtf8(m_answer->GetValue());
    return true;
}

void CValidationDlg::OnVerify(wxCommandEvent&)
{
    TransferDataFromWindow();
    m_form.OnVerify(m_clock);
    TransferDataToWindow();
}
