#include "KoaConnection.h"

#include "KoaMessageDispatcherInterface.h"
#include "MessageClientInterface.h"
#include "Trace.h"
#include "TraceMask.h"

const QString KoaConnection::ClassName = QStringLiteral("KoaConnection");
const QString KoaConnection::Source = QStringLiteral("Print Service");

KoaConnection::KoaConnection(KoaMessageDispatcherInterface *dispatcher,
    MessageClientInterface *client, UtilsLib::Observer *observer)
    : m_dispatcher(dispatcher)
    , m_client(client)
{
    addObserver(observer);
}

KoaConnection::~KoaConnection()
{
    Trace trace(this, ClassName, "~KoaConnection");
}

void KoaConnection::messageReceived(const QString &text)
{
    static const char *const Function = "messageReceived";
    Trace trace(this, ClassName, Function);
    Trace::logf(this, ClassName, Function, Trace::Info, Trace::InfoCode, "Recevied: %1",
        Tessaly::Core::TraceMask::wireText(text));
    const QString answer = m_dispatcher->dispatch(Source, text);
    m_client->sendMessage(answer);
    Trace::logf(this, ClassName, Function, Trace::Info, Trace::InfoCode, "Sent: %1",
        Tessaly::Core::TraceMask::wireText(answer));
}
