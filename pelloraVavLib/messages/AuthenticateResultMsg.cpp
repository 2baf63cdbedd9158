#include "AuthenticateResultMsg.h"

#include "MessageFields_p.h"

AuthenticateResultMsg::AuthenticateResultMsg(
    std::unique_ptr<Tessaly::Core::MessageHandler> handler, UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
{ }

std::unique_ptr<Tessaly::Core::Message> AuthenticateResultMsg::clone() const
{
    return std::make_unique<AuthenticateResultMsg>(*this);
}

QString AuthenticateResultMsg::toText()
{
    return QStringLiteral("Not Used");
}

bool AuthenticateResultMsg::fromText(const QString &text)
{
    const QStringList fields = MessageFields::split(text);
    if (fields.size() < 6)
        return false;

    // One object parses every verdict of the run: what the previous patron's
    // verdict carried must not show up in this one when a field is left out.
    resetFields();
    m_messageSubset = fields.at(2).toInt();
    if (m_messageSubset == BALANCES_SUBSET) {
        for (qsizetype i = 3; i < fields.size(); ++i)
            setCodedField(fields.at(i));
    } else {
        m_messageHeader = MessageFields::codedValue(fields.at(3));
        m_messageText = MessageFields::codedValue(fields.at(4));
        m_ackRequired = MessageFields::toFlag(MessageFields::codedValue(fields.at(5)));
    }
    return true;
}

void AuthenticateResultMsg::resetFields()
{
    m_messageSubset = -1;
    m_messageHeader.clear();
    m_messageText.clear();
    m_allocationBalance.clear();
    m_maxAllocationBalance.clear();
    m_depositBalance.clear();
    m_maxDepositBalance.clear();
    m_creditBalance.clear();
    m_maxCreditBalance.clear();
    m_libraryDepositBalance.clear();
    m_isDepositExpired = false;
    m_isCreditExpired = false;
    m_isLibraryDepositEnabled = false;
    m_ackRequired = false;
}

void AuthenticateResultMsg::setCodedField(const QString &field)
{
    const QString value = MessageFields::codedValue(field);
    switch (field.at(0).unicode()) {
    case 'F':
        m_allocationBalance = value;
        break;
    case 'N':
        m_maxAllocationBalance = value;
        break;
    case 'G':
        m_depositBalance = value;
        break;
    case 'H':
        m_maxDepositBalance = value;
        break;
    case 'I':
        m_creditBalance = value;
        break;
    case 'J':
        m_maxCreditBalance = value;
        break;
    case 'K':
        m_isDepositExpired = MessageFields::toFlag(value);
        break;
    case 'L':
        m_isCreditExpired = MessageFields::toFlag(value);
        break;
    case 'O':
        m_ackRequired = MessageFields::toFlag(value);
        break;
    case 'P':
        m_libraryDepositBalance = value;
        break;
    case 'Q':
        m_isLibraryDepositEnabled = MessageFields::toFlag(value);
        break;
    default: // M and unknown codes carry nothing the client uses
        break;
    }
}
