#include "JobDeletedMsg.h"

JobDeletedMsg::JobDeletedMsg(
    std::unique_ptr<Tessaly::Core::MessageHandler> handler, UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
{ }

std::unique_ptr<Tessaly::Core::Message> JobDeletedMsg::clone() const
{
    return std::make_unique<JobDeletedMsg>(*this);
}

QString JobDeletedMsg::toText()
{
    return QStringLiteral("NOT USED");
}

bool JobDeletedMsg::fromText(const QString &)
{
    return true;
}
