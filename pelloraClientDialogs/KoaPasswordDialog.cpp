#include "KoaPasswordDialog.h"

#include "PrintClientImages.h"

KoaPasswordDialog::KoaPasswordDialog(QWidget *parent, const PasswordDlgInfo &info)
    : PasswordDialog(parent, info, false)
{
    setLogoPixmap(PrintClientImages::password());
}

bool KoaPasswordDialog::getUserInput()
{
    setToForeground();
    return PasswordDialog::getUserInput();
}
