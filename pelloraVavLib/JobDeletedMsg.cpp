#include "JobDeletedMsg.h"

JobDeletedMsg::JobDeletedMsg(Tessaly::Core::MessageHandler *handler, UtilsLib::Observer *observer)
    : Message(handler, observer)
{ }

JobDeletedMsg *JobDeletedMsg::clone() const
{
    return new JobDeletedMsg(*this);
}

QString JobDeletedMsg::toText()
{
    return QStringLiteral("NOT USED");
}

bool JobDeletedMsg::fromText(const QString &)
{
    return true;
}
