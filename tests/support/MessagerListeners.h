#pragma once

// The listeners a connection test attaches to the messager: the registration
// a real client sends, and a record of every text received.

#include "ConnectionListenerInterface.h"
#include "MessageClientInterface.h"
#include "MessageListenerInterface.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>

// Sends a registration text on every new connection, as the real one does.
class RegisteringListener : public ConnectionListenerInterface
{
public:
    explicit RegisteringListener(MessageClientInterface *client)
        : m_client(client)
    { }
    void connectionEstablished() override
    {
        ++established;
        m_client->sendMessage(QStringLiteral("register:jo:lab-07"));
    }
    void connectionLost() override { ++lost; }

    int established = 0;
    int lost = 0;

private:
    MessageClientInterface *m_client;
};

class RecordingListener : public MessageListenerInterface
{
public:
    void messageReceived(const QString &text) override
    {
        ++depth;
        maxDepth = qMax(maxDepth, depth);
        texts.append(text);
        if (onMessage)
            onMessage(text);
        --depth;
    }

    QStringList texts;
    std::function<void(const QString &)> onMessage;
    int depth = 0;
    int maxDepth = 0;
};
