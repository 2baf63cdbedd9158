#pragma once

#include <QString>

class MessageClientInterface
{
public:
    virtual ~MessageClientInterface() = default;
    // True when the whole text, and its terminating NUL, was written.
    virtual bool sendMessage(const QString &text) = 0;
};
