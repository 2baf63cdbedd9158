#include "AuthenticateResultMsg.h"

#include "MessageFields_p.h"

AuthenticateResultMsg::AuthenticateResultMsg(
    Tessaly::Core::MessageHandler *handler, UtilsLib::Observer *observer)
    : Message(handler, observer)
{ }

AuthenticateResultMsg *AuthenticateResultMsg::clone() const
{
    return new AuthenticateResultMsg(*this);
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
    const AuthenticateResultMsg defaults;
    m_messageSubset = defaults.m_messageSubset;
    m_messageHeader = defaults.m_messageHeader;
    m_messageText = defaults.m_messageText;
    m_allocationBalance = defaults.m_allocationBalance;
    m_maxAllocationBalance = defaults.m_maxAllocationBalance;
    m_depositBalance = defaults.m_depositBalance;
    m_maxDepositBalance = defaults.m_maxDepositBalance;
    m_creditBalance = defaults.m_creditBalance;
    m_maxCreditBalance = defaults.m_maxCreditBalance;
    m_libraryDepositBalance = defaults.m_libraryDepositBalance;
    m_isDepositExpired = defaults.m_isDepositExpired;
    m_isCreditExpired = defaults.m_isCreditExpired;
    m_isLibraryDepositEnabled = defaults.m_isLibraryDepositEnabled;
    m_ackRequired = defaults.m_ackRequired;
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
