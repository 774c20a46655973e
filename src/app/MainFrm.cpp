#include "app/MainFrm.h"

#include <string>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

#include <wx/aui/auibar.h>
#include <wx/bmpbndl.h>
#include <wx/iconbndl.h>
#include <wx/menu.h>

#include "app/AboutProgramDlg.h"
#include "app/CloseRequests.h"
#include "app/CommandMap.h"
#include "dialogs/ValidationDlg.h"
#include "history/wx/HistoryDlg.h"
#include "platform/wx/Accessible.h"
#include "resources/Pictures.h"

namespace {

constexpr const char* kToolBarPane = "toolbar";

struct Tool {
    int command;
    const char* picture;
    const char* tooltip;
};

// Four groups, a separator between each two.
const Tool kToolGroups[][4] = {
    {{cmd::kToolIndexPage, kSvg_index, "Index page and explanation."}},
    {{cmd::kToolModeA, kSvg_mode_a, "Mode A."},
     {cmd::kToolModeB, kSvg_mode_b, "Mode B."},
     {cmd::kToolModeC, kSvg_mode_c, "Mode C."}},
    {{cmd::kToolEnglish, kSvg_lang_english, "English."},
     {cmd::kToolRussian, kSvg_lang_russian, "Russian (latin letters, phonetic)."},
     {cmd::kToolLithuanian, kSvg_lang_lithuanian, "Lithuanian."},
     {cmd::kToolLithuanianLatin, kSvg_lang_lithuanian_latin, "Lithuanian (latin letters)."}},
    {{cmd::kToolAbout, kSvg_about, "About program."},
     {cmd::kToolValidation, kSvg_validation, "Check if somebodies result is true."},
     {cmd::kToolHistory, kSvg_history, "History of your answers, charts and export."}},
};

const wxSize kButtonSize(24, 15);

// The window is 560 by 340 where it has no borders: that client area holds the menu,
// the toolbar and a view large enough for every page. Borders and title bars, drawn
// by the window manager or by the window itself, come on top of it.
const wxSize kClientSize(560, 340);

}  // namespace

CMainFrame::CMainFrame(CVeskDoc& doc, SteadyClock& clock, Sound& sound, VolumeNumber& volume,
                       history::Log* history)
    : wxFrame(nullptr, wxID_ANY, kTitle, wxPoint(100, 100), kClientSize, wxDEFAULT_FRAME_STYLE)
{
    wxIconBundle icons;
    for (int size : {16, 32, 48, 64})
        icons.AddIcon(ProgramIcon(size).GetIcon(wxSize(size, size)));
    SetIcons(icons);

    m_aui.SetManagedWindow(this);
    m_view = new WxViewWindow(this, doc, clock, sound, volume, *this, history);
    BuildMenu();
    BuildToolBar();
    m_aui.AddPane(m_view, wxAuiPaneInfo().Name("view").CenterPane());
    m_aui.Update();

    Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
    // The borders are known only once the window is on the screen: wx keeps the
    // whole window's size then, which leaves the inside short by the borders.
    Bind(wxEVT_SHOW, [this](wxShowEvent& event) {
        event.Skip();
        if (event.IsShown())
            KeepInsideSize();
    });
    Bind(wxEVT_MENU, &CMainFrame::OnCommand, this, WxIdOf(cmd::kAppExit));
    Bind(wxEVT_MENU, &CMainFrame::OnCommand, this, WxIdOf(cmd::kViewToolbar));
    Bind(wxEVT_MENU, &CMainFrame::OnCommand, this, kWxFirstCommandId, kWxLastCommandId);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateCommand, this, WxIdOf(cmd::kViewToolbar));
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateCommand, this, kWxFirstCommandId, kWxLastCommandId);
}

CMainFrame::~CMainFrame()
{
    m_aui.UnInit();
}

void CMainFrame::KeepInsideSize()
{
#ifdef __WXGTK__
    // GTK sizes a window by its inside, whoever draws the borders.
    gtk_window_resize(GTK_WINDOW(m_widget), kClientSize.x, kClientSize.y);
#else
    // wx counts the menu bar out of the client area.
    SetClientSize(kClientSize - wxSize(0, GetMenuBar() ? GetMenuBar()->GetSize().y : 0));
#endif
}

// Under a window manager wx holds the first show back until it knows the frame's
// borders, and meanwhile gives the unshown window an allocation of 2 by 1 pixels so
// that realizing it lays nothing out. GTK then lays the window out once at that size
// when it is finally shown: the menu bar, squeezed below its one item, makes GTK
// print a critical warning, and the window appears where the manager puts it
// instead of where it was asked to be. Giving it its real size before the show
// lays it out at that size and keeps its place.
bool CMainFrame::Show(bool show)
{
#ifdef __WXGTK__
    if (show && !IsShown() && m_widget && !gtk_widget_get_realized(m_widget)) {
        GtkAllocation allocation;
        gtk_widget_get_allocation(m_widget, &allocation);
        if (allocation.width <= 1 && allocation.height <= 1) {
            allocation.x = 0;
            allocation.y = 0;
            GetSize(&allocation.width, &allocation.height);
            gtk_widget_set_allocation(m_widget, &allocation);
        }
    }
#endif
    return wxFrame::Show(show);
}

void CMainFrame::BuildMenu()
{
    auto* modes = new wxMenu;
    modes->Append(WxIdOf(cmd::kMenuModeA), "&A");
    modes->Append(WxIdOf(cmd::kMenuModeB), "&B");
    modes->Append(WxIdOf(cmd::kMenuModeC), "&C");

    auto* languages = new wxMenu;
    languages->Append(WxIdOf(cmd::kMenuEnglish), "&English");
    languages->Append(WxIdOf(cmd::kMenuRussian), "&Russian (latin letters, phonetic)");
    languages->Append(WxIdOf(cmd::kMenuLithuanian), "&Lithuanian");
    languages->Append(WxIdOf(cmd::kMenuLithuanianLatin), "Li&thuanian (latin letters)");

    auto* menu = new wxMenu;
    menu->AppendCheckItem(WxIdOf(cmd::kViewToolbar), "&Toolbar show/hide");
    menu->Append(WxIdOf(cmd::kMenuIndexPage), "&Index (explanation) page");
    menu->AppendSubMenu(modes, "&Mode...");
    menu->AppendSubMenu(languages, "&Language...");
    menu->Append(WxIdOf(cmd::kMenuValidation), "&Validation  [dialog box]");
    menu->Append(WxIdOf(cmd::kMenuAbout), "&About program  [dialog box]");
    menu->Append(WxIdOf(cmd::kMenuHistory), "&History  [window]");
    menu->Append(WxIdOf(cmd::kAppExit), "E&xit (close program)");

    auto* bar = new wxMenuBar;
    bar->Append(menu, "&Menu");
    SetMenuBar(bar);
}

void CMainFrame::BuildToolBar()
{
    auto* toolBar = m_toolBar = new wxAuiToolBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                     wxAUI_TB_DEFAULT_STYLE | wxAUI_TB_GRIPPER);
    toolBar->SetToolBitmapSize(kButtonSize);
    bool first = true;
    std::string buttons;  // for screen readers: the toolbar draws its buttons itself
    for (const auto& group : kToolGroups) {
        if (!first)
            toolBar->AddSeparator();
        first = false;
        for (const Tool& tool : group) {
            if (tool.command == 0)
                continue;
            toolBar->AddTool(WxIdOf(tool.command), wxString(), wxBitmapBundle::FromSVG(tool.picture, kButtonSize),
                             tool.tooltip);
            buttons += (buttons.empty() ? "" : " ") + std::string(tool.tooltip);
        }
    }
    toolBar->Realize();
    TellScreenReaders(*toolBar, "Toolbar", buttons);
    m_aui.AddPane(toolBar, wxAuiPaneInfo()
                               .Name(kToolBarPane)
                               .ToolbarPane()
                               .Top()
                               .Gripper(true)
                               .Dockable(true)
                               .Floatable(true)
                               .LeftDockable(true)
                               .RightDockable(true)
                               .BottomDockable(true));
}

bool CMainFrame::ToolBarShown()
{
    return m_aui.GetPane(kToolBarPane).IsShown();
}

// ---------------------------------------------------------------------------------
// Commands: the view runs its own; the frame keeps the toolbar and Exit.

void CMainFrame::OnCommand(wxCommandEvent& event)
{
    const int command = CommandOf(event.GetId());
    if (m_view->View().OnCommand(command))
        return;
    switch (command) {
    case cmd::kViewToolbar:
        m_aui.GetPane(kToolBarPane).Show(!ToolBarShown());
        m_aui.Update();
        break;
    case cmd::kAppExit:
        Close(true);
        break;
    default:
        break;
    }
}

void CMainFrame::OnUpdateCommand(wxUpdateUIEvent& event)
{
    const int command = CommandOf(event.GetId());
    if (command == cmd::kViewToolbar)
        event.Check(ToolBarShown());
    else
        event.Enable(m_view->View().IsCommandEnabled(command));
}

// ---------------------------------------------------------------------------------
// Closing

// The records are saved while the window is still there, so that a save that
// fails can be told in it before it goes.
void CMainFrame::OnClose(wxCloseEvent&)
{
    if (m_closing) {  // asked again while the notice shows: no more waiting
        Destroy();
        return;
    }
    if (m_view->SaveRecordsOnce()) {
        m_closing = true;
        m_view->ShowNoticesThen([this] { Destroy(); });
        return;
    }
    Destroy();
}

void CMainFrame::RequestClose()
{
    if (m_dialog) {
        // The dialog lives on the stack of its own loop: the window must not
        // destroy it under that loop.
        m_closeAfterDialog = true;
        m_dialog->EndModal(wxID_CANCEL);
        return;
    }
    if (wxMenuBar* bar = GetMenuBar())
        CloseOpenMenus(*bar);
    Close(true);
}

// ---------------------------------------------------------------------------------
// Dialogs

void CMainFrame::ShowModal(wxDialog& dialog)
{
    m_dialog = &dialog;
    dialog.ShowModal();
    m_dialog = nullptr;
    if (m_closeAfterDialog)
        CallAfter(&CMainFrame::RequestClose);  // once this dialog and its loop are gone
}

void CMainFrame::ShowAboutDialog()
{
    CAboutProgramDlg dlg(this);
    ShowModal(dlg);
}

void CMainFrame::ShowValidationDialog(ValidationLogic& form)
{
    CValidationDlg dlg(this, form, *m_view);
    ShowModal(dlg);
}

void CMainFrame::ShowHistoryWindow(const history::WindowRequest& request)
{
    history::CHistoryDlg dlg(this, request, history::kDatabaseName);
    ShowModal(dlg);
}
