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
    // The caller's own markup, every outside value in it escaped; a box that
    // renders no markup shows it as it is.
    virtual int showMarkup(const QString &markup, const QString &caption, const QPixmap &icon)
    {
        return showMessage(markup, caption, icon);
    }
};
