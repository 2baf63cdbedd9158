#include "PrintClientUpdateMsg.h"

#include "MessageFields_p.h"

PrintClientUpdateMsg::PrintClientUpdateMsg(
    Tessaly::Core::MessageHandler *handler, UtilsLib::Observer *observer)
    : Message(handler, observer)
{ }

PrintClientUpdateMsg *PrintClientUpdateMsg::clone() const
{
    return new PrintClientUpdateMsg(*this);
}

QString PrintClientUpdateMsg::toText()
{
    return QStringLiteral("Not Implemented");
}

bool PrintClientUpdateMsg::fromText(const QString &text)
{
    const QStringList fields = MessageFields::split(text);
    if (!MessageFields::hasUnsignedId(fields, MESSAGE_ID))
        return false;
    for (qsizetype i = 2; i < fields.size(); ++i) {
        const QString &field = fields.at(i);
        if (field.at(0) == QLatin1Char('A'))
            m_version = MessageFields::codedValue(field);
        else if (field.at(0) == QLatin1Char('B'))
            m_launcherUrl = MessageFields::codedValue(field);
    }
    return true;
}
