// CAboutProgramDlg: the program's name, version and series; closed with OK.
#pragma once

#include <wx/bmpbndl.h>
#include <wx/dialog.h>

// The program's icon at size x size pixels.
wxBitmapBundle ProgramIcon(int size);

class CAboutProgramDlg : public wxDialog {
public:
    explicit CAboutProgramDlg(wxWindow* parent);
};
