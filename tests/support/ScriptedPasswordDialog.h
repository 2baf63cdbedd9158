#pragma once

#include "PasswordDialogInterface.h"

#include <QString>

#include <optional>

// Answers with the scripted password, or cancels when there is none.
class ScriptedPasswordDialog : public PasswordDialogInterface
{
public:
    std::optional<QString> answer;
    int asked = 0;

    QString password() override { return answer.value_or(QString()); }
    bool getUserInput() override
    {
        ++asked;
        return answer.has_value();
    }
};
