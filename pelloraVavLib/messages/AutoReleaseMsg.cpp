#include "AutoReleaseMsg.h"

#include "MessageFields_p.h"
#include "TsCurrency.h"

#include <QCoreApplication>

AutoReleaseMsg::AutoReleaseMsg(std::unique_ptr<Tessaly::Core::MessageHandler> handler)
    : Message(std::move(handler), nullptr)
{ }

std::unique_ptr<Tessaly::Core::Message> AutoReleaseMsg::clone() const
{
    return std::make_unique<AutoReleaseMsg>(*this);
}

QString AutoReleaseMsg::toText()
{
    return QString();
}

bool AutoReleaseMsg::fromText(const QString &text)
{
    const QStringList fields = MessageFields::split(text);
    if (fields.size() <= 10 || !MessageFields::hasUnsignedId(fields, MESSAGE_ID))
        return false;

    // Every result starts from the defaults, so that a refund or an error of
    // an earlier release is never reported again with this one.
    m_released = false;
    m_releaseNumber = 0;
    m_printerFamily.clear();
    m_pickupLocation.clear();
    m_errorMessage.clear();
    m_paymentOrder.clear();
    m_allocationAmount.clear();
    m_depositAmount.clear();
    m_creditAmount.clear();
    m_refundAmount.clear();
    m_refundId.clear();

    for (qsizetype i = 2; i < fields.size(); ++i) {
        const QString &field = fields.at(i);
        const QString value = MessageFields::codedValue(field);
        switch (field.at(0).unicode()) {
        case 'A':
            m_released = MessageFields::toFlag(value);
            break;
        case 'B':
            m_releaseNumber = MessageFields::toNumber(value);
            break;
        case 'C':
            m_printerFamily = value;
            break;
        case 'D':
            m_pickupLocation = value;
            break;
        case 'E':
            m_errorMessage = value;
            break;
        case 'F':
            m_paymentOrder = value;
            break;
        case 'G':
            m_allocationAmount = value;
            break;
        case 'H':
            m_depositAmount = value;
            break;
        case 'I':
            m_creditAmount = value;
            break;
        case 'Y':
            m_refundAmount = value;
            break;
        case 'Z':
            m_refundId = value;
            break;
        default:
            break;
        }
    }
    return true;
}

QString AutoReleaseMsg::getErrorMessage() const
{
    const long refundCents = MessageFields::toNumber(m_refundAmount);
    if (m_refundId.isEmpty() || refundCents <= 0)
        return m_errorMessage;

    // Multi-argument arg(): a "%2" inside the Print Service's texts stays as it is.
    const QString notice = QCoreApplication::translate("ReleaseConfirmationDialog",
        "You are due a refund of %1.  The Refund Id is %2.  Please see staff for additional "
        "assistance.")
                               .arg(TsCurrency(true).format(refundCents, true), m_refundId);
    // Plain text: the error comes from the Print Service and is shown as it stands.
    return QStringLiteral("%1\n\n%2").arg(m_errorMessage, notice);
}
