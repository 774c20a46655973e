// The program's dialogs, shown modally by the window system.
#pragma once

class ValidationLogic;

namespace history {
struct WindowRequest;
}

class DialogHost {
public:
    virtual ~DialogHost() = default;
    virtual void ShowAboutDialog() = 0;
    // Shows the Validation dialog over form until it is closed.
    virtual void ShowValidationDialog(ValidationLogic& form) = 0;
    // Shows the History window until it is closed.
    virtual void ShowHistoryWindow(const history::WindowRequest& request) = 0;
};
