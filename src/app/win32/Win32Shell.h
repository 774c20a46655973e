// The Windows shell: the main frame with its menu and toolbar over the view, and
// the two dialogs, straight on the Win32 API. It turns window messages into the
// view's commands and holds no program state of its own.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/DialogHost.h"
#include "platform/Sound.h"
#include "platform/VolumeNumber.h"
#include "platform/posix/SteadyClock.h"
#include "platform/win32/Win32ViewWindow.h"

// A short tone through the system.
class Win32Sound : public Sound {
public:
    void Beep(unsigned frequencyHz, unsigned durationMs) override { ::Beep(frequencyHz, durationMs); }
};

class CWin32MainFrame : public DialogHost {
public:
    static constexpr wchar_t kClassName[] = L"kbr_dorin_frame";

    CWin32MainFrame(CVeskDoc& doc, SteadyClock& clock, Sound& sound, VolumeNumber& volume);
    ~CWin32MainFrame() override;

    HWND Handle() const { return m_hwnd; }
    Win32ViewWindow& ViewWindow() { return *m_view; }
    // Greys the toolbar's buttons whose commands may not run now.
    void UpdateToolbar();

    // --- DialogHost ---------------------------------------------------------------
    void ShowAboutDialog() override;
    void ShowValidationDialog(ValidationLogic& form) override;
    void ShowHistoryWindow(const history::WindowRequest&) override {}  // no history in this build

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void BuildToolbar();
    void Layout();
    void OnCommand(int command);

    HWND m_hwnd = nullptr;
    HWND m_toolbar = nullptr;
    std::unique_ptr<Win32ViewWindow> m_view;
    SteadyClock& m_clock;
};
