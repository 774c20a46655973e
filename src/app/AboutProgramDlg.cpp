#include "app/AboutProgramDlg.h"

#include <algorithm>

#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "dialogs/ValidationDlg.h"
#include "resources/Pictures.h"

wxBitmapBundle ProgramIcon(int size)
{
    return wxBitmapBundle::FromSVG(kSvg_kbr_dorin, wxSize(size, size));
}

// Laid out in dialog units, so it scales with the dialog font like the original
// template; a text that needs more room than its units give (in some fonts) gets
// it, and the button and the dialog move on to make way.
CAboutProgramDlg::CAboutProgramDlg(wxWindow* parent) : wxDialog(parent, wxID_ANY, "About program")
{
    const auto at = [this](int x, int y) { return ConvertDialogToPixels(wxPoint(x, y)); };
    const auto size = [this](int w, int h) { return ConvertDialogToPixels(wxSize(w, h)); };

    new wxStaticBitmap(this, wxID_ANY, ProgramIcon(32), at(19, 16));
    int right = 0;  // where the texts end
    const auto text = [&](const char* label, int y, int w) {
        auto* t = new wxStaticText(this, wxID_ANY, label, at(55, y), size(w, 8), wxST_NO_AUTORESIZE);
        wxSize fit = t->GetSize();
        fit.IncTo(TextExtent(*t));
        t->SetSize(fit);
        right = std::max(right, t->GetRect().GetRight());
    };
    text("kbr_dorin  2.8", 11, 48);
    text("''Arvenlo'' series", 22, 88);
    text("Copyright 2026 kbr_dorin authors", 33, 92);
    // The button keeps its distance from the texts' units, at least.
    const int shift = std::max(0, right + size(4, 0).x - at(170, 0).x);
    auto* ok = new wxButton(this, wxID_OK, "OK", at(170, 15) + wxSize(shift, 0), size(25, 22));
    SetClientSize(size(215, 53) + wxSize(shift, 0));
    ok->SetDefault();
    ok->SetFocus();
    CentreOnParent();
}
