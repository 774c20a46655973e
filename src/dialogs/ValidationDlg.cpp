#include "dialogs/ValidationDlg.h"

#include <algorithm>

#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

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
// whatever font the desktop uses; and no text cut, whatever the font and the
// language: where a text needs more room than its dialog units give, its box grows
// and what stands after it moves on. The number boxes take the widest number they
// can hold; the wrapped paragraphs take the lines they need in this language.
CValidationDlg::CValidationDlg(wxWindow* parent, ValidationLogic& form, Clock& clock)
    : wxDialog(parent, wxID_ANY, "Validation", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      m_form(form),
      m_clock(clock)
{
    m_language = Label(kIdLanguage, "", 7, 7, 8, 8);

    // The titles of the three frames stand on their top edges: they are the frames' labels.
    m_ideaFrame = Frame(17, 14, 358, 102);
    m_paragraph1 = Label(kIdParagraph1, "", 27, 33, 334, 16);
    const int grow1 = FitParagraph(*m_paragraph1, m_form.m_strParagraph1);
    m_paragraph2 = Label(kIdParagraph2, "", 27, 52, 336, 26, 0, grow1);
    const int growIdea = grow1 + FitParagraph(*m_paragraph2, m_form.m_strParagraph2);
    m_ideaFrame->SetSize(m_ideaFrame->GetSize() + wxSize(0, growIdea));

    // Number boxes as wide as their widest number (a sign and ten digits).
    m_numberWidth = NumberBoxWidth();
    const int dx = std::max(0, m_numberWidth - ConvertDialogToPixels(wxSize(45, 0)).x);
    const int dy = growIdea;
    m_dataFrame = Frame(17, 125, 358, 70, 3 * dx, dy);
    Label(wxID_ANY, "HdVol", 34, 154, 25, 10, 0, dy);
    m_hdVol = Edit(kIdHdVol, 61, 152, 45, 12, 0, dy);
    m_hdVolHex = Label(kIdHdVolHex, "", 112, 154, 33, 8, dx, dy);
    Label(wxID_ANY, "mode A", 226, 140, 25, 8, 0, dy);
    Label(wxID_ANY, "mode B", 273, 140, 25, 8, dx, dy);
    Label(wxID_ANY, "mode C", 322, 140, 25, 8, 2 * dx, dy);
    Label(wxID_ANY, "record", 186, 154, 25, 8, 0, dy);
    Label(wxID_ANY, "validator", 180, 169, 31, 8, 0, dy);
    const int columns[3] = {215, 263, 312};
    for (int m = 0; m < 3; ++m) {
        m_record[m] = Edit(kIdRecord[m], columns[m], 152, 45, 12, m * dx, dy);
        m_validator[m] = Edit(kIdValidator[m], columns[m], 167, 45, 12, m * dx, dy);
    }

    m_checkFrame = Frame(17, 204, 315, 63, dx, dy);
    m_instruction = Label(kIdInstruction, "", 27, 225, 140, 24, 0, dy);
    const int growCheck = FitParagraph(*m_instruction, m_form.m_strInstruction);
    m_checkFrame->SetSize(m_checkFrame->GetSize() + wxSize(0, growCheck));
    Label(wxID_ANY, "HdVol", 193, 218, 23, 9, 0, dy);
    Label(wxID_ANY, "record", 192, 232, 24, 10, 0, dy);
    Label(wxID_ANY, "validator", 186, 246, 29, 10, 0, dy);
    m_checkHdVol = Edit(kIdCheckHdVol, 221, 216, 45, 12, 0, dy);
    m_checkRecord = Edit(kIdCheckRecord, 221, 230, 45, 12, 0, dy);
    m_checkValidator = Edit(kIdCheckValidator, 221, 244, 45, 12, 0, dy);
    auto* verify = new wxButton(this, kIdVerify, "verify", At(281, 221, dx, dy), ConvertDialogToPixels(wxSize(37, 12)));
    m_answer = Edit(kIdAnswer, 281, 240, 38, 15, dx, dy);
    m_answer->SetSize(ConvertDialogToPixels(wxSize(38, 15)));  // a word, not a number

    auto* ok = new wxButton(this, wxID_OK, "OK", At(343, 217, 3 * dx, dy), ConvertDialogToPixels(wxSize(32, 12)));
    new wxButton(this, wxID_CANCEL, "Cancel", At(343, 238, 3 * dx, dy), ConvertDialogToPixels(wxSize(32, 12)));
    ok->SetDefault();

    SetClientSize(ConvertDialogToPixels(wxSize(392, 282)) + wxSize(3 * dx, dy + growCheck));
    verify->Bind(wxEVT_BUTTON, &CValidationDlg::OnVerify, this);
    CentreOnParent();
}

wxPoint CValidationDlg::At(int x, int y, int dx, int dy)
{
    return ConvertDialogToPixels(wxPoint(x, y)) + wxSize(dx, dy);
}

wxTextCtrl* CValidationDlg::Edit(int id, int x, int y, int w, int h, int dx, int dy)
{
    wxSize size = ConvertDialogToPixels(wxSize(w, h));
    size.x = std::max(size.x, m_numberWidth);
    return new wxTextCtrl(this, id, wxString(), At(x, y, dx, dy), size);
}

wxStaticText* CValidationDlg::Label(int id, const char* text, int x, int y, int w, int h, int dx, int dy)
{
    auto* label = new wxStaticText(this, id, text, At(x, y, dx, dy), ConvertDialogToPixels(wxSize(w, h)),
                                   wxST_NO_AUTORESIZE);
    // A word wider than its dialog units (in a large font) gets its width.
    wxSize fit = label->GetSize();
    fit.IncTo(TextExtent(*label));
    label->SetSize(fit);
    return label;
}

wxStaticBox* CValidationDlg::Frame(int x, int y, int w, int h, int dw, int dy)
{
    return new wxStaticBox(this, wxID_ANY, wxString(), At(x, y, 0, dy), ConvertDialogToPixels(wxSize(w, h)) + wxSize(dw, 0));
}

// The width a number box needs to show a sign and ten digits whole.
int CValidationDlg::NumberBoxWidth()
{
    wxTextCtrl probe(this, wxID_ANY);
#ifdef __WXGTK__
    // The theme gives a box its padding only once the box is realized.
    gtk_widget_realize(GetHandle());
    gtk_widget_realize(probe.GetHandle());
#endif
    const int width = probe.GetSizeFromTextSize(probe.GetTextExtent("-0000000000")).x;
    probe.Hide();
    return width;
}

// The frames' titles start 41 dialog units from the dialog's left edge, as the
// titles of the original template do; the toolkit would put them at the corner.
void CValidationDlg::PlaceTitle(wxStaticBox& frame)
{
#ifdef __WXGTK__
    GtkWidget* widget = frame.GetHandle();
    if (!GTK_IS_FRAME(widget) || !gtk_frame_get_label_widget(GTK_FRAME(widget)))
        return;
    int width = 0;
    gtk_widget_get_preferred_width(gtk_frame_get_label_widget(GTK_FRAME(widget)), nullptr, &width);
    // GTK puts the title at about (frame width - title width - 8) * align from its left.
    const int offset = ConvertDialogToPixels(wxPoint(41, 0)).x - frame.GetPosition().x;
    const int room = frame.GetSize().x - width - 8;
    if (room > 0)
        gtk_frame_set_label_align(GTK_FRAME(widget), std::clamp(offset / static_cast<float>(room), 0.0f, 1.0f),
                                  0.5f);
#else
    (void)frame;
#endif
}

wxSize TextExtent(wxWindow& label)
{
    wxClientDC dc(&label);
    dc.SetFont(label.GetFont());
    return dc.GetMultiLineTextExtent(label.GetLabel());
}

// Wraps the paragraph at its width and makes its box as high as the lines need;
// returns by how much it grew.
int CValidationDlg::FitParagraph(wxStaticText& label, const std::string& text)
{
    label.SetLabel(FromUtf8(text));
    label.Wrap(label.GetSize().x);
    const int need = TextExtent(label).y - label.GetSize().y;
    if (need <= 0)
        return 0;
    label.SetSize(label.GetSize() + wxSize(0, need));
    return need;
}

// ---------------------------------------------------------------------------------

bool CValidationDlg::TransferDataToWindow()
{
    m_language->SetLabel(FromUtf8(m_form.m_strLanguage));
    m_ideaFrame->SetLabel(FromUtf8(m_form.m_strIdeaTitle));
    m_dataFrame->SetLabel(FromUtf8(m_form.m_strDataTitle));
    m_checkFrame->SetLabel(FromUtf8(m_form.m_strCheckTitle));
    for (wxStaticBox* frame : {m_ideaFrame, m_dataFrame, m_checkFrame})
        PlaceTitle(*frame);
    m_paragraph1->SetLabel(FromUtf8(m_form.m_strParagraph1));
    m_paragraph2->SetLabel(FromUtf8(m_form.m_strParagraph2));
    m_instruction->SetLabel(FromUtf8(m_form.m_strInstruction));
    for (auto* text : {m_paragraph1, m_paragraph2, m_instruction})
        text->Wrap(text->GetSize().x);
    m_hdVolHex->SetLabel(FromUtf8(m_form.m_strHdVolHex));
    for (auto* text : {m_language, m_hdVolHex}) {  // nothing stands to their right
        wxSize fit = text->GetSize();
        fit.IncTo(TextExtent(*text));
        text->SetSize(fit);
    }
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
