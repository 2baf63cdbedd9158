#include "GuestJobReq.h"

GuestJobReq::GuestJobReq(Tessaly::Core::MessageHandler *handler, UtilsLib::Observer *observer)
    : Message(handler, observer)
{ }

GuestJobReq *GuestJobReq::clone() const
{
    return new GuestJobReq(*this);
}

QString GuestJobReq::toText()
{
    return QStringLiteral("NOT USED");
}

bool GuestJobReq::fromText(const QString &)
{
    return true;
}
