// CMainFrame: the one main window with its menu, its dockable toolbar and the view.
#pragma once

#include <wx/aui/aui.h>
#include <wx/aui/auibar.h>
#include <wx/dialog.h>
#include <wx/frame.h>

#include "platform/posix/SteadyClock.h"
#include "platform/wx/WxViewWindow.h"

class CMainFrame : public wxFrame, public DialogHost {
public:
    static constexpr const char* kTitle = "   kbr_dorin - test and train your reaction";

    CMainFrame(CVeskDoc& doc, SteadyClock& clock, Sound& sound, VolumeNumber& volume, history::Log* history);
    ~CMainFrame() override;

    WxViewWindow& ViewWindow() { return *m_view; }

    bool Show(bool show = true) override;

    // Closes the window whatever stands open over it, as a signal or the end of the
    // desktop session asks: an open dialog is ended first and the window closes
    // once the dialog's own loop has returned; an open menu is closed.
    void RequestClose();
    wxAuiToolBar& ToolBar() { return *m_toolBar; }
    bool ToolBarShown();

    // --- DialogHost: the dialogs stand over the main window ----------------------------
    void ShowAboutDialog() override;
    void ShowValidationDialog(ValidationLogic& form) override;
    void ShowHistoryWindow(const history::WindowRequest& request) override;

private:
    void KeepInsideSize();
    void BuildMenu();
    void BuildToolBar();
    void OnCommand(wxCommandEvent& event);
    void OnUpdateCommand(wxUpdateUIEvent& event);
    void OnClose(wxCloseEvent& event);
    void ShowModal(wxDialog& dialog);

    wxAuiManager m_aui;
    WxViewWindow* m_view = nullptr;
    wxAuiToolBar* m_toolBar = nullptr;
    wxDialog* m_dialog = nullptr;  // the modal dialog that is open
    bool m_closeAfterDialog = false;
    bool m_closing = false;
};
