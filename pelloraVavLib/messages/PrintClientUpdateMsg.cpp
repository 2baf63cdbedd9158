#include "PrintClientUpdateMsg.h"

#include "MessageFields_p.h"

PrintClientUpdateMsg::PrintClientUpdateMsg(
    std::unique_ptr<Tessaly::Core::MessageHandler> handler, UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
{ }

std::unique_ptr<Tessaly::Core::Message> PrintClientUpdateMsg::clone() const
{
    return std::make_unique<PrintClientUpdateMsg>(*this);
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
