#pragma once

class ConnectionListenerInterface
{
public:
    virtual ~ConnectionListenerInterface() = default;
    virtual void connectionEstablished() = 0;
    virtual void connectionLost() = 0;
};
