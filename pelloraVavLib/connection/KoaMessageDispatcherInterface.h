#pragma once

#include <QMap>
#include <QString>

namespace Tessaly::Core {
class Message;
}

// Owns the table from message id to the long-lived message object; the
// message objects themselves belong to start-up.
class KoaMessageDispatcherInterface
{
public:
    virtual ~KoaMessageDispatcherInterface() = default;
    virtual QString dispatch(const QString &source, const QString &text) = 0;

    void registerMessage(long id, Tessaly::Core::Message *message);
    bool isRegistered(long id) const { return m_messages.contains(id); }
    int registeredMessageCount() const { return int(m_messages.size()); }

protected:
    Tessaly::Core::Message *registeredMessage(long id) const
    {
        return m_messages.value(id, nullptr);
    }

private:
    QMap<long, Tessaly::Core::Message *> m_messages;
};
