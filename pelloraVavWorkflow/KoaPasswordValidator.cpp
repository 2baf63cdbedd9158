#include "KoaPasswordValidator.h"

#include "PasswordDialogInterface.h"

KoaPasswordValidator::KoaPasswordValidator(PasswordDialogInterface *dialog)
    : m_dialog(dialog)
{
    Q_ASSERT(m_dialog);
}

bool KoaPasswordValidator::validate(const QString &password)
{
    if (password.isEmpty())
        return true;
    if (!m_dialog->getUserInput())
        return false;
    return m_dialog->password() == password;
}
