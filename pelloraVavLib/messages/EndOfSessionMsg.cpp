#include "EndOfSessionMsg.h"

#include "MessageFields_p.h"

EndOfSessionMsg::EndOfSessionMsg(
    std::unique_ptr<Tessaly::Core::MessageHandler> handler, UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
{ }

std::unique_ptr<Tessaly::Core::Message> EndOfSessionMsg::clone() const
{
    return std::make_unique<EndOfSessionMsg>(*this);
}

QString EndOfSessionMsg::toText()
{
    return QString();
}

bool EndOfSessionMsg::fromText(const QString &text)
{
    const QStringList fields = MessageFields::split(text);
    return fields.size() == 2 && MessageFields::hasId(fields, MESSAGE_ID);
}
