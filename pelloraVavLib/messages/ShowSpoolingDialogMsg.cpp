#include "ShowSpoolingDialogMsg.h"

#include "MessageFields_p.h"

ShowSpoolingDialogMsg::ShowSpoolingDialogMsg(
    std::unique_ptr<Tessaly::Core::MessageHandler> handler, UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
{ }

std::unique_ptr<Tessaly::Core::Message> ShowSpoolingDialogMsg::clone() const
{
    return std::make_unique<ShowSpoolingDialogMsg>(*this);
}

QString ShowSpoolingDialogMsg::toText()
{
    return QString();
}

bool ShowSpoolingDialogMsg::fromText(const QString &text)
{
    return MessageFields::split(text).size() == 2;
}
