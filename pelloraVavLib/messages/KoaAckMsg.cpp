#include "KoaAckMsg.h"

#include "MessageFields_p.h"

KoaAckMsg::KoaAckMsg(
    std::unique_ptr<Tessaly::Core::MessageHandler> handler, UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
{ }

std::unique_ptr<Tessaly::Core::Message> KoaAckMsg::clone() const
{
    return std::make_unique<KoaAckMsg>(*this);
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
