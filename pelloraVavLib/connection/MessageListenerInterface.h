#pragma once

#include <QString>

class MessageListenerInterface
{
public:
    virtual ~MessageListenerInterface() = default;
    virtual void messageReceived(const QString &text) = 0;
};
