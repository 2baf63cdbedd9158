#pragma once

#include "MessageBoxInterface.h"

#include <QImage>
#include <QList>
#include <QPixmap>
#include <QStringList>

#include <functional>

// Shows nothing: keeps every box asked for, in order, and answers questions as told.
class RecordingMessageBox : public MessageBoxInterface
{
public:
    struct Call
    {
        QString kind;
        QString text;
        QString caption;
        QImage icon;
    };

    void showError(const QString &m, const QString &c) override { record("error", m, c); }
    void showWarning(const QString &m, const QString &c) override { record("warning", m, c); }
    void showInfo(const QString &m, const QString &c) override { record("info", m, c); }
    int showMessage(const QString &m, const QString &c, const QPixmap &icon) override
    {
        record("message", m, c, icon.toImage());
        return 1;
    }
    bool showQuestion(const QString &m, const QString &c) override
    {
        record("question", m, c);
        return answerYes;
    }

    // Every box as "kind|caption|text".
    QStringList shown() const
    {
        QStringList lines;
        for (const Call &call : calls)
            lines.append(
                call.kind + QLatin1Char('|') + call.caption + QLatin1Char('|') + call.text);
        return lines;
    }

    QList<Call> calls;
    bool answerYes = false;
    // Runs while each box would be on screen.
    std::function<void()> whileShown;

private:
    void record(const char *kind, const QString &m, const QString &c, const QImage &icon = {})
    {
        calls.append({QString::fromLatin1(kind), m, c, icon});
        if (whileShown)
            whileShown();
    }
};
