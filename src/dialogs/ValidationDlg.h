// CValidationDlg: the Validation dialog. Its controls show the texts of a
// ValidationLogic and give them back; "verify" runs the logic's check.
#pragma once

#include <array>

#include <wx/dialog.h>

#include "dialogs/ValidationLogic.h"

class Clock;
class wxButton;
class wxStaticBox;
class wxStaticText;
class wxTextCtrl;

class CValidationDlg : public wxDialog {
public:
    // Control ids of the dialog's template, for the controls the program fills.
    enum : int {
        kIdLanguage = 1016, kIdIdeaTitle = 1035, kIdParagraph1 = 1009, kIdParagraph2 = 1010,
        kIdDataTitle = 1036, kIdHdVol = 1018, kIdHdVolHex = 1034, kIdCheckTitle = 1037,
        kIdInstruction = 1015, kIdCheckHdVol = 1005, kIdCheckRecord = 1003, kIdCheckValidator = 1004,
        kIdVerify = 1007, kIdAnswer = 1006,
    };
    static constexpr std::array<int, 3> kIdRecord = {1024, 1001, 1008};
    static constexpr std::array<int, 3> kIdValidator = {1002, 1012, 1013};

    CValidationDlg(wxWindow* parent, ValidationLogic& form, Clock& clock);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

private:
    void OnVerify(wxCommandEvent& event);
    wxTextCtrl* Edit(int id, int x, int y, int w, int h);
    wxStaticText* Label(int id, const char* text, int x, int y, int w, int h);
    wxStaticBox* Frame(int x, int y, int w, int h);

    ValidationLogic& m_form;
    Clock& m_clock;
    wxStaticText* m_language = nullptr;
    wxStaticBox* m_ideaFrame = nullptr;
    wxStaticBox* m_dataFrame = nullptr;
    wxStaticBox* m_checkFrame = nullptr;
    wxStaticText* m_paragraph1 = nullptr;
    wxStaticText* m_paragraph2 = nullptr;
    wxStaticText* m_hdVolHex = nullptr;
    wxStaticText* m_instruction = nullptr;
    wxTextCtrl* m_hdVol = nullptr;
    std::array<wxTextCtrl*, 3> m_record{};
    std::array<wxTextCtrl*, 3> m_validator{};
    wxTextCtrl* m_checkHdVol = nullptr;
    wxTextCtrl* m_checkRecord = nullptr;
    wxTextCtrl* m_checkValidator = nullptr;
    wxTextCtrl* m_answer = nullptr;
};
