#pragma once

#include "PasswordValidator.h"

class PasswordDialogInterface;

// Asks once for the staff password the site configured; no password
// configured means nothing to ask.
class KoaPasswordValidator : public PasswordValidator
{
public:
    explicit KoaPasswordValidator(PasswordDialogInterface *dialog);

    bool validate(const QString &password) override;

private:
    PasswordDialogInterface *m_dialog;
};
