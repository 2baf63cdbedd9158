#include "KoaAckMsg.h"

#include "MessageFields_p.h"

KoaAckMsg::KoaAckMsg(Tessaly::Core::MessageHandler *handler, UtilsLib::Observer *observer)
    : Message(handler, observer)
{ }

KoaAckMsg *KoaAckMsg::clone() const
{
    return new KoaAckMsg(*this);
}

QString KoaAckMsg::toText()
{
    return QString();
}

bool KoaAckMsg::fromText(const QString &text)
{
    const QStringList fields = MessageFields::split(text);
    return fields.size() == 2 && MessageFields::hasId(fields, MESSAGE_ID);
}
