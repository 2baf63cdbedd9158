#include "PrintJobConfirmationMsg.h"

#include "MessageFields_p.h"

const QString PrintJobConfirmationMsg::PICKUP_INFO_SEPARATOR = QStringLiteral("#^#");

PrintJobConfirmationMsg::PrintJobConfirmationMsg(
    std::unique_ptr<Tessaly::Core::MessageHandler> handler, UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
{ }

std::unique_ptr<Tessaly::Core::Message> PrintJobConfirmationMsg::clone() const
{
    return std::make_unique<PrintJobConfirmationMsg>(*this);
}

QString PrintJobConfirmationMsg::toText()
{
    return QStringLiteral("Not Used");
}

bool PrintJobConfirmationMsg::fromText(const QString &text)
{
    clearPickupLocations();
    const QStringList fields = MessageFields::split(text);
    if (fields.size() != 6)
        return false;

    m_showDialog = MessageFields::toFlag(fields.at(2));
    m_jobNumber = MessageFields::toNumber(MessageFields::codedValue(fields.at(3)));
    m_expireTime = MessageFields::codedValue(fields.at(4));

    // An empty value means no pickup locations, not one location without a name.
    const QString locations = MessageFields::codedValue(fields.at(5));
    if (!locations.isEmpty()) {
        const QStringList pieces = locations.split(PICKUP_INFO_SEPARATOR, ::Qt::KeepEmptyParts);
        m_pickupLocations.reserve((pieces.size() + 1) / 2);
        for (qsizetype i = 0; i < pieces.size(); i += 2)
            m_pickupLocations.append({pieces.at(i), pieces.value(i + 1)});
    }
    m_prtLocationString = pickupLocationsToText();
    return true;
}

void PrintJobConfirmationMsg::setPickupLocations(const QList<PickupLocation> &locations)
{
    m_pickupLocations = locations;
    m_prtLocationString = pickupLocationsToText();
}

QString PrintJobConfirmationMsg::pickupLocationsToText() const
{
    QStringList pieces;
    pieces.reserve(m_pickupLocations.size() * 2);
    for (const PickupLocation &location : m_pickupLocations)
        pieces << nullProtect(location.first) << nullProtect(location.second);
    return pieces.join(PICKUP_INFO_SEPARATOR);
}

QString PrintJobConfirmationMsg::nullProtect(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

void PrintJobConfirmationMsg::clearPickupLocations()
{
    m_pickupLocations.clear();
    m_prtLocationString.clear();
}
