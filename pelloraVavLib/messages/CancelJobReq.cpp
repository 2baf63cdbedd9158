#include "CancelJobReq.h"

#include "MessageFields_p.h"

CancelJobReq::CancelJobReq(
    std::unique_ptr<Tessaly::Core::MessageHandler> handler, UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
{ }

std::unique_ptr<Tessaly::Core::Message> CancelJobReq::clone() const
{
    return std::make_unique<CancelJobReq>(*this);
}

QString CancelJobReq::toText()
{
    return QString();
}

bool CancelJobReq::fromText(const QString &text)
{
    return MessageFields::split(text).size() == 2;
}
