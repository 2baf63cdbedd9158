#include "ShowSpoolingDialogMsg.h"

#include "MessageFields_p.h"

ShowSpoolingDialogMsg::ShowSpoolingDialogMsg(
    Tessaly::Core::MessageHandler *handler, UtilsLib::Observer *observer)
    : Message(handler, observer)
{ }

ShowSpoolingDialogMsg *ShowSpoolingDialogMsg::clone() const
{
    return new ShowSpoolingDialogMsg(*this);
}

QString ShowSpoolingDialogMsg::toText()
{
    return QString();
}

bool ShowSpoolingDialogMsg::fromText(const QString &text)
{
    return MessageFields::split(text).size() == 2;
}
