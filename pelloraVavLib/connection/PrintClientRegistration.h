#pragma once

#include "ConnectionListenerInterface.h"

#include <QString>

class EnvironmentProvider;
class MessageClientInterface;

// Says who the client is whenever a connection comes up.
class PrintClientRegistration : public ConnectionListenerInterface
{
public:
    PrintClientRegistration(MessageClientInterface *client, EnvironmentProvider *environment);

    void connectionEstablished() override;
    void connectionLost() override { }

    QString registrationText() const;

private:
    MessageClientInterface *m_client;
    EnvironmentProvider *m_environment;
};
