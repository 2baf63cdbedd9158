#pragma once

#include <QPixmap>
#include <QString>

// How the message handlers report to the patron: text first, caption second.
class MessageBoxInterface
{
public:
    virtual ~MessageBoxInterface() = default;
    virtual void showError(const QString &message, const QString &caption) = 0;
    virtual void showWarning(const QString &message, const QString &caption) = 0;
    virtual void showInfo(const QString &message, const QString &caption) = 0;
    virtual int showMessage(const QString &message, const QString &caption, const QPixmap &icon)
        = 0;
    virtual bool showQuestion(const QString &message, const QString &caption) = 0;
};
