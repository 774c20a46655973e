#include "app/win32/Win32Shell.h"

#include <commctrl.h>

#include <string>

#include "app/win32/Win32Resources.h"
#include "dialogs/ValidationLogic.h"
#include "view/commands/CommandIds.h"

namespace {

// The toolbar: four groups, a separator between each two; the pictures are the
// strip's in this order.
constexpr int kToolGroups[][4] = {
    {cmd::kToolIndexPage},
    {cmd::kToolModeA, cmd::kToolModeB, cmd::kToolModeC},
    {cmd::kToolEnglish, cmd::kToolRussian, cmd::kToolLithuanian, cmd::kToolLithuanianLatin},
    {cmd::kToolAbout, cmd::kToolValidation},
};
constexpr int kButtonWidth = 24, kButtonHeight = 15;

// The window is 560 by 340 where it has no borders.
constexpr int kClientWidth = 560, kClientHeight = 340;

std::wstring LoadText(UINT id)
{
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

// --- the dialogs: templates 130 and 132 of the resources ----------------------------

INT_PTR CALLBACK AboutProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        ::EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

struct ValidationContext {
    ValidationLogic& form;
    Clock& clock;
};

void SetText(HWND dialog, int id, const std::string& text)
{
    ::SetDlgItemTextW(dialog, id, Wide(text).c_str());
}

std::string GetText(HWND dialog, int id)
{
    wchar_t buffer[512] = {};
    ::GetDlgItemTextW(dialog, id, buffer, 512);
    return Narrow(buffer);
}

INT_PTR CALLBACK ValidationProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        const ValidationLogic& f = reinterpret_cast<ValidationContext*>(lParam)->form;
        SetText(dialog, kIdLanguage, f.m_strLanguage);
        SetText(dialog, kIdIdeaTitle, f.m_strIdeaTitle);
        SetText(dialog, kIdParagraph1, f.m_strParagraph1);
        SetText(dialog, kIdParagraph2, f.m_strParagraph2);
        SetText(dialog, kIdDataTitle, f.m_strDataTitle);
        SetText(dialog, kIdHdVol, f.m_strHdVol);
        SetText(dialog, kIdHdVolHex, f.m_strHdVolHex);
        for (int m = 0; m < 3; ++m) {
            SetText(dialog, kIdRecord[m], f.m_strRecord[m]);
            SetText(dialog, kIdValidator[m], f.m_strValidator[m]);
        }
        SetText(dialog, kIdCheckTitle, f.m_strCheckTitle);
        SetText(dialog, kIdInstruction, f.m_strInstruction);
        return TRUE;
    }
    auto* context = reinterpret_cast<ValidationContext*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (message != WM_COMMAND || !context)
        return FALSE;
    ValidationLogic& f = context->form;
    switch (LOWORD(wParam)) {
    case kIdVerify:
        f.m_strCheckHdVol = GetText(dialog, kIdCheckHdVol);
        f.m_strCheckRecord = GetText(dialog, kIdCheckRecord);
        f.m_strCheckValidator = GetText(dialog, kIdCheckValidator);
        f.OnVerify(context->clock);
        SetText(dialog, kIdAnswer, f.m_strAnswer);
        return TRUE;
    case IDOK:
    case IDCANCEL:
        ::EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

// ---------------------------------------------------------------------------------

CWin32MainFrame::CWin32MainFrame(CVeskDoc& doc, SteadyClock& clock, Sound& sound, VolumeNumber& volume)
    : m_clock(clock)
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &CWin32MainFrame::Procedure;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(kIdProgramIcon));
    wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszMenuName = MAKEINTRESOURCEW(kIdMainMenu);
    wc.lpszClassName = kClassName;
    ::RegisterClassExW(&wc);

    // 560 by 340 inside the borders, at 100, 100.
    const DWORD style = WS_OVERLAPPEDWINDOW;
    RECT outer{0, 0, kClientWidth, kClientHeight};
    ::AdjustWindowRectEx(&outer, style, TRUE, 0);
    m_hwnd = ::CreateWindowExW(0, kClassName, LoadText(kIdTitle).c_str(), style, 100, 100,
                               outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, instance, this);
    BuildToolbar();
    m_view = std::make_unique<Win32ViewWindow>(m_hwnd, doc, clock, sound, volume, *this);
    Layout();
}

CWin32MainFrame::~CWin32MainFrame()
{
    m_view.reset();
}

void CWin32MainFrame::BuildToolbar()
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    m_toolbar = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                  WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0, 0, 0,
                                  m_hwnd, nullptr, instance, nullptr);
    ::SendMessageW(m_toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageW(m_toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(kButtonWidth, kButtonHeight));
    TBADDBITMAP strip{instance, kIdToolbarBitmap};
    ::SendMessageW(m_toolbar, TB_ADDBITMAP, 10, reinterpret_cast<LPARAM>(&strip));
    int picture = 0;
    bool first = true;
    for (const auto& group : kToolGroups) {
        if (!first) {
            TBBUTTON separator{};
            separator.fsStyle = BTNS_SEP;
            ::SendMessageW(m_toolbar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&separator));
        }
        first = false;
        for (int command : group) {
            if (command == 0)
                continue;
            TBBUTTON button{};
            button.iBitmap = picture++;
            button.idCommand = command;
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
            ::SendMessageW(m_toolbar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
        }
    }
    ::SendMessageW(m_toolbar, TB_AUTOSIZE, 0, 0);
}

void CWin32MainFrame::Layout()
{
    if (!m_view)
        return;
    RECT client{};
    ::GetClientRect(m_hwnd, &client);
    int top = 0;
    if (::IsWindowVisible(m_toolbar)) {
        ::SendMessageW(m_toolbar, TB_AUTOSIZE, 0, 0);
        RECT bar{};
        ::GetWindowRect(m_toolbar, &bar);
        top = bar.bottom - bar.top;
    }
    ::MoveWindow(m_view->Handle(), 0, top, client.right, client.bottom - top, TRUE);
}

void CWin32MainFrame::UpdateToolbar()
{
    for (const auto& group : kToolGroups)
        for (int command : group)
            if (command != 0) {
                const bool enabled = m_view->View().IsCommandEnabled(command);
                const bool shown = ::SendMessageW(m_toolbar, TB_ISBUTTONENABLED, command, 0) != 0;
                if (enabled != shown)
                    ::SendMessageW(m_toolbar, TB_ENABLEBUTTON, command, MAKELPARAM(enabled, 0));
            }
}

void CWin32MainFrame::OnCommand(int command)
{
    if (m_view->View().OnCommand(command))
        return;
    if (command == cmd::kViewToolbar) {
        ::ShowWindow(m_toolbar, ::IsWindowVisible(m_toolbar) ? SW_HIDE : SW_SHOW);
        Layout();
    } else if (command == cmd::kAppExit) {
        ::SendMessageW(m_hwnd, WM_CLOSE, 0, 0);
    }
}

LRESULT CALLBACK CWin32MainFrame::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<CWin32MainFrame*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_hwnd = hwnd;
    }
    auto* self = reinterpret_cast<CWin32MainFrame*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->Handle(message, wParam, lParam) : ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CWin32MainFrame::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        Layout();
        return 0;
    case WM_SETFOCUS:
        if (m_view)
            ::SetFocus(m_view->Handle());
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_INITMENUPOPUP: {
        // Each item of the menu that opens, by the enable rules; the toolbar item
        // carries a check mark while the toolbar is shown.
        HMENU menu = reinterpret_cast<HMENU>(wParam);
        for (int i = 0, n = ::GetMenuItemCount(menu); i < n; ++i) {
            const UINT id = ::GetMenuItemID(menu, i);
            if (id == static_cast<UINT>(-1) || id == 0)
                continue;
            if (static_cast<int>(id) == cmd::kViewToolbar)
                ::CheckMenuItem(menu, id, MF_BYCOMMAND | (::IsWindowVisible(m_toolbar) ? MF_CHECKED : MF_UNCHECKED));
            else
                ::EnableMenuItem(menu, id,
                                 MF_BYCOMMAND | (m_view->View().IsCommandEnabled(static_cast<int>(id)) ? MF_ENABLED
                                                                                                        : MF_GRAYED));
        }
        return 0;
    }
    case WM_NOTIFY: {
        // Tooltips: the part of each command's string after the line feed.
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code == TTN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
            static std::wstring tip;
            tip = LoadText(static_cast<UINT>(header->idFrom));
            const auto feed = tip.find(L'\n');
            tip = feed == std::wstring::npos ? tip : tip.substr(feed + 1);
            info->lpszText = tip.data();
            return 0;
        }
        break;
    }
    case WM_CLOSE:
        ::DestroyWindow(m_hwnd);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // The session ends without closing the window: the records are saved now.
        if (wParam)
            m_view->SaveRecordsOnce();
        return 0;
    case WM_DESTROY:
        m_view->SaveRecordsOnce();  // the view window goes with the frame
        ::PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(m_hwnd, message, wParam, lParam);
}

void CWin32MainFrame::ShowAboutDialog()
{
    ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIdAboutDialog), m_hwnd, &AboutProcedure, 0);
}

void CWin32MainFrame::ShowValidationDialog(ValidationLogic& form)
{
    ValidationContext context{form, *m_view};
    ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIdValidationDialog), m_hwnd,
                      &ValidationProcedure, reinterpret_cast<LPARAM>(&context));
}

// ---------------------------------------------------------------------------------

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    SteadyClock clock;
    Win32Sound sound;
    SystemVolumeNumber volume;
    CVeskDoc doc(clock.Now().millis);
    int code = 0;
    {
        CWin32MainFrame frame(doc, clock, sound, volume);
        ::ShowWindow(frame.Handle(), show);
        ::UpdateWindow(frame.Handle());
        ::SetFocus(frame.ViewWindow().Handle());
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
            if (::IsWindow(frame.Handle()))
                frame.UpdateToolbar();
        }
        code = static_cast<int>(msg.wParam);
    }
    return code;
}
