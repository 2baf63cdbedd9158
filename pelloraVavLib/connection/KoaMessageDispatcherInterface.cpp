#include "KoaMessageDispatcherInterface.h"

void KoaMessageDispatcherInterface::registerMessage(long id, Tessaly::Core::Message *message)
{
    // The first registration of an id stays.
    if (!m_messages.contains(id))
        m_messages.insert(id, message);
}
