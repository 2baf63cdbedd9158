#include "PrintClientRegistration.h"

#include "EnvironmentProvider.h"
#include "MessageBase.h"
#include "MessageClientInterface.h"

PrintClientRegistration::PrintClientRegistration(
    MessageClientInterface *client, EnvironmentProvider *environment)
    : m_client(client)
    , m_environment(environment)
{ }

QString PrintClientRegistration::registrationText() const
{
    const QString user = m_environment->getUserName();
    const QString machine = m_environment->getMachineName();
    return MessageBase::join({QStringLiteral("register"), user, machine});
}

void PrintClientRegistration::connectionEstablished()
{
    m_client->sendMessage(registrationText());
}
