#pragma once

#include "MessageHandler.h"
#include "Observable.h"

#include <QString>

#include <memory>

namespace UtilsLib {
class Observer;
}

namespace Tessaly::Core {

class DaxTimeSource;
class SystemNetInfoInterface;

// Base of every Print Service message. On the wire a message is
// "id|yyyyMMddhhmmss" followed by the body that toText() returns.
class Message : public UtilsLib::Observable
{
public:
    Message();
    Message(std::unique_ptr<MessageHandler> handler, UtilsLib::Observer *observer);
    Message(const Message &other);
    Message &operator=(const Message &other);
    ~Message() override;

    [[nodiscard]] virtual std::unique_ptr<Message> clone() const = 0;
    virtual QString toText() = 0;
    virtual bool fromText(const QString &text) = 0;
    virtual long messageId() const = 0;
    virtual QString handle(const QString &source, const QString &text);

    MessageHandler *handler() const { return m_handler.get(); }
    UtilsLib::Observer *getMessageObserver() const { return m_messageObserver; }

    QString getTextForSending();

    QString computerName();
    QString ipAddress();
    void setComputerName(const QString &name) { m_computerName = name; }
    void setIpAddress(const QString &address) { m_ipAddress = address; }

    QString buildMessageField(char code, const QString &value) const;
    QString buildMessageField(char code, long value) const;

    static QString fieldSeparator();
    static long getMessageIdFromText(const QString &text);
    static QString stripFieldCode(const QString &field);

    static void setTimeSource(DaxTimeSource *timeSource);
    static DaxTimeSource *getTimeSource();
    static void setSystemNetInfo(SystemNetInfoInterface *info);

private:
    std::unique_ptr<MessageHandler> m_handler;
    QString m_computerName;
    QString m_ipAddress;
    UtilsLib::Observer *m_messageObserver = nullptr;

    static DaxTimeSource *m_timeSource;
    static SystemNetInfoInterface *m_sysNetInfo;
};

} // namespace Tessaly::Core
