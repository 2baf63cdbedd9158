#pragma once

#include "MessageListenerInterface.h"
#include "Observable.h"

class KoaMessageDispatcherInterface;
class MessageClientInterface;

namespace UtilsLib {
class Observer;
}

// Routes every received text through the dispatcher and sends its answer back.
class KoaConnection : public MessageListenerInterface, public UtilsLib::Observable
{
public:
    KoaConnection(KoaMessageDispatcherInterface *dispatcher, MessageClientInterface *client,
        UtilsLib::Observer *observer);
    ~KoaConnection() override;

    void messageReceived(const QString &text) override;

    static const QString ClassName;
    static const QString Source;

private:
    KoaMessageDispatcherInterface *m_dispatcher;
    MessageClientInterface *m_client;
};
