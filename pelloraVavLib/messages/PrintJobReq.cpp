#include "PrintJobReq.h"

#include "MessageFields_p.h"

PrintJobReq::PrintJobReq(const QString &locale,
    std::unique_ptr<Tessaly::Core::MessageHandler> handler, UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
    , m_locale(locale)
{ }

std::unique_ptr<Tessaly::Core::Message> PrintJobReq::clone() const
{
    return std::make_unique<PrintJobReq>(*this);
}

void PrintJobReq::setPcDescription(const QString &description, const QString &fallback)
{
    m_pcDescription = description.isEmpty() ? fallback : description;
}

QString PrintJobReq::toText()
{
    return buildMessageField('A', MessageFields::wireSafe(m_pcDescription))
        + buildMessageField('B', MessageFields::wireSafe(m_locale));
}

bool PrintJobReq::fromText(const QString &text)
{
    const QStringList fields = MessageFields::split(text);
    if (fields.size() <= 2)
        return false;
    m_pcDescription = MessageFields::codedValue(fields.at(2));
    return true;
}
