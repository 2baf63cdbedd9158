#pragma once

#include <QString>

// What the validators need from a password dialog.
class PasswordDialogInterface
{
public:
    virtual ~PasswordDialogInterface() = default;
    virtual QString password() = 0;
    // Runs the dialog; true only when it was confirmed.
    virtual bool getUserInput() = 0;
};
