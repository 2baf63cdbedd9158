#pragma once

#include <QString>

// Decides whether someone who knows the given password is present.
class PasswordValidator
{
public:
    virtual ~PasswordValidator() = default;
    virtual bool validate(const QString &password) = 0;
};
