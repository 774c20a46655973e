// The program's two dialogs, shown modally by the window system.
#pragma once

class ValidationLogic;

class DialogHost {
public:
    virtual ~DialogHost() = default;
    virtual void ShowAboutDialog() = 0;
    // Shows the Validation dialog over form until it is closed.
    virtual void ShowValidationDialog(ValidationLogic& form) = 0;
};
