// CValidationDlg: the Validation dialog. Its controls show the texts of a
// ValidationLogic and give them back; "verify" runs the logic's check.
#pragma once

#include <array>
#include <string>

#include <wx/dialog.h>

#include "dialogs/ValidationLogic.h"

class Clock;
class wxButton;
class wxStaticBox;
class wxStaticText;
class wxTextCtrl;

// The size a control's label takes on the screen, every line of it.
wxSize TextExtent(wxWindow& label);

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
    // Controls at dialog units (x, y, w, h), moved on by dx, dy pixels.
    wxPoint At(int x, int y, int dx, int dy);
    wxTextCtrl* Edit(int id, int x, int y, int w, int h, int dx = 0, int dy = 0);
    wxStaticText* Label(int id, const char* text, int x, int y, int w, int h, int dx = 0, int dy = 0);
    wxStaticBox* Frame(int x, int y, int w, int h, int dw = 0, int dy = 0);
    int NumberBoxWidth();
    int FitParagraph(wxStaticText& label, const std::string& text);
    void PlaceTitle(wxStaticBox& frame);

    ValidationLogic& m_form;
    Clock& m_clock;
    int m_numberWidth = 0;  // pixels
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
