#include "PrintClientDialog.h"

PrintClientDialog::PrintClientDialog(QWidget *parent)
    : MessageDialog(QString(), QStringList {QString()}, QStringList {QString()},
        QMessageBox::Critical, parent, 0, 1001, QString::fromLatin1(OK))
{
    setObjectName(QStringLiteral("PrintClientDialog"));
}

int PrintClientDialog::showMessage(
    const QString &message, const QString &caption, const QPixmap &icon)
{
    // Plain: the texts come from the Print Service, and markup in them would
    // have the text engine read files (an <img> of /dev/zero or a FIFO).
    return showText(message, ::Qt::PlainText, caption, icon);
}

int PrintClientDialog::showMarkup(
    const QString &markup, const QString &caption, const QPixmap &icon)
{
    return showText(markup, ::Qt::RichText, caption, icon);
}

int PrintClientDialog::showText(
    const QString &text, ::Qt::TextFormat format, const QString &caption, const QPixmap &icon)
{
    setCaptionText(caption);
    setIconPixmap(icon);
    setLabel1Text(QStringList {text});
    setMessageTextFormat(format);
    setToForeground();
    return exec();
}

void PrintClientDialog::showError(const QString &message, const QString &caption)
{
    showMessage(message, caption, standardIcon(QMessageBox::Critical));
}

void PrintClientDialog::showWarning(const QString &message, const QString &caption)
{
    showMessage(message, caption, standardIcon(QMessageBox::Warning));
}

void PrintClientDialog::showInfo(const QString &message, const QString &caption)
{
    showMessage(message, caption, standardIcon(QMessageBox::Information));
}

bool PrintClientDialog::showQuestion(const QString &message, const QString &caption)
{
    MessageDialog question(caption, QStringList {message}, QStringList {QString()},
        QMessageBox::Question, parentWidget(), 0, 1002, QString::fromLatin1(YES), QString(),
        QString::fromLatin1(NO));
    question.setObjectName(QStringLiteral("PrintClientQuestion"));
    question.setToForeground();
    return question.exec() == 1;
}
