#include "GuestJobMsg.h"

#include "MessageFields_p.h"

GuestJobMsg::GuestJobMsg(
    std::unique_ptr<Tessaly::Core::MessageHandler> handler, UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
{ }

std::unique_ptr<Tessaly::Core::Message> GuestJobMsg::clone() const
{
    return std::make_unique<GuestJobMsg>(*this);
}

QString GuestJobMsg::toText()
{
    return fieldSeparator() + MessageFields::flagText(m_isGuestJob);
}

bool GuestJobMsg::fromText(const QString &text)
{
    const QStringList fields = MessageFields::split(text);
    if (fields.size() != 3)
        return false;
    m_isGuestJob = MessageFields::toFlag(fields.at(2));
    return true;
}
