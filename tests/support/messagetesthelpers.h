#pragma once

#include <memory>

// Shared by the message tests: a fixed clock, an event recorder and a handler
// that records what it was given.

#include "DaxTimeSource.h"
#include "EventRecorder.h"
#include "Message.h"
#include "MessageHandler.h"
#include "ObservableEvent.h"
#include "Observer.h"

#include <QDateTime>
#include <QList>
#include <QString>

class FixedTimeSource : public Tessaly::Core::DaxTimeSource
{
public:
    static QString stamp() { return QStringLiteral("20261208093005"); }
    QDateTime currentTime() const override
    {
        return QDateTime(QDate(2026, 12, 8), QTime(9, 30, 5));
    }
};

class RecordingHandler : public Tessaly::Core::MessageHandler
{
public:
    explicit RecordingHandler(UtilsLib::Observer *observer)
        : MessageHandler(observer)
    { }
    QString handle(const QString &source, Tessaly::Core::Message *message) override
    {
        ++calls;
        lastSource = source;
        return QStringLiteral("handled %1").arg(message->messageId());
    }
    [[nodiscard]] std::unique_ptr<Tessaly::Core::MessageHandler> clone() const override
    {
        return std::make_unique<RecordingHandler>(*this);
    }

    int calls = 0;
    QString lastSource;
};

// A copy of a message as its own class.
template<typename T> std::unique_ptr<T> cloneAs(const T &message)
{
    return std::unique_ptr<T>(static_cast<T *>(message.clone().release()));
}

// The text of a received message with the fixed stamp, e.g. received(54, "|3").
inline QString received(long id, const QString &body)
{
    return QString::number(id) + QLatin1Char('|') + FixedTimeSource::stamp() + body;
}
