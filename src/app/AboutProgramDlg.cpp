#include "app/AboutProgramDlg.h"

#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "resources/Pictures.h"

wxBitmapBundle ProgramIcon(int size)
{
    return wxBitmapBundle::FromSVG(kSvg_kbr_dorin, wxSize(size, size));
}

// Laid out in dialog units, so it scales with the dialog font like the original template.
CAboutProgramDlg::CAboutProgramDlg(wxWindow* parent) : wxDialog(parent, wxID_ANY, "About program")
{
    const auto at = [this](int x, int y) { return ConvertDialogToPixels(wxPoint(x, y)); };
    const auto size = [this](int w, int h) { return ConvertDialogToPixels(wxSize(w, h)); };

    SetClientSize(size(215, 53));
    new wxStaticBitmap(this, wxID_ANY, ProgramIcon(32), at(19, 16));
    new wxStaticText(this, wxID_ANY, "kbr_dorin  2.8", at(55, 11), size(48, 8));
    new wxStaticText(this, wxID_ANY, "''Arvenlo'' series", at(55, 22), size(88, 8));
    new wxStaticText(this, wxID_ANY, "Copyright 2026 kbr_dorin authors", at(55, 33), size(92, 8),
                     wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
    auto* ok = new wxButton(this, wxID_OK, "OK", at(170, 15), size(25, 22));
    ok->SetDefault();
    ok->SetFocus();
    CentreOnParent();
}
