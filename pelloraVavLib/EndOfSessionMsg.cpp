#include "EndOfSessionMsg.h"

#include "MessageFields_p.h"

EndOfSessionMsg::EndOfSessionMsg(
    Tessaly::Core::MessageHandler *handler, UtilsLib::Observer *observer)
    : Message(handler, observer)
{ }

EndOfSessionMsg *EndOfSessionMsg::clone() const
{
    return new EndOfSessionMsg(*this);
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
