#include "CancelJobReq.h"

#include "MessageFields_p.h"

CancelJobReq::CancelJobReq(Tessaly::Core::MessageHandler *handler, UtilsLib::Observer *observer)
    : Message(handler, observer)
{ }

CancelJobReq *CancelJobReq::clone() const
{
    return new CancelJobReq(*this);
}

QString CancelJobReq::toText()
{
    return QString();
}

bool CancelJobReq::fromText(const QString &text)
{
    return MessageFields::split(text).size() == 2;
}
