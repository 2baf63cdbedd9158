#pragma once

#include "MessageBoxInterface.h"
#include "MessageDialog.h"

// The application's one message box, reused for every error, warning and
// notice; questions get a dialog of their own.
class PrintClientDialog : public MessageDialog, public MessageBoxInterface
{
    Q_OBJECT
public:
    explicit PrintClientDialog(QWidget *parent);

    void showError(const QString &message, const QString &caption) override;
    void showWarning(const QString &message, const QString &caption) override;
    void showInfo(const QString &message, const QString &caption) override;
    int showMessage(const QString &message, const QString &caption, const QPixmap &icon) override;
    int showMarkup(const QString &markup, const QString &caption, const QPixmap &icon) override;
    bool showQuestion(const QString &message, const QString &caption) override;

private:
    int showText(const QString &text, ::Qt::TextFormat format, const QString &caption,
        const QPixmap &icon);
};
