#include "GuestJobReq.h"

GuestJobReq::GuestJobReq(
    std::unique_ptr<Tessaly::Core::MessageHandler> handler, UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
{ }

std::unique_ptr<Tessaly::Core::Message> GuestJobReq::clone() const
{
    return std::make_unique<GuestJobReq>(*this);
}

QString GuestJobReq::toText()
{
    return QStringLiteral("NOT USED");
}

bool GuestJobReq::fromText(const QString &)
{
    return true;
}
