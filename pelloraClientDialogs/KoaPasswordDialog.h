#pragma once

#include "PasswordDialog.h"

// The staff password dialog of the client: plain buttons, the built-in
// password picture, brought to the front before it asks.
class KoaPasswordDialog : public PasswordDialog
{
    Q_OBJECT
public:
    KoaPasswordDialog(QWidget *parent, const PasswordDlgInfo &info);

    bool getUserInput() override;
};
