#include "AuthenticateMsg.h"

#include "MessageFields_p.h"
#include "TraceMask.h"

// id|time stamp|guest|user id|user id|PIN: toText() writes every value wire-safe,
// so the PIN is always field 5 of 6.
const bool AuthenticateMsg::SECRET_FIELDS_DECLARED
    = Tessaly::Core::TraceMask::declare(MESSAGE_ID, {QString(), {5}, 6});

AuthenticateMsg::AuthenticateMsg(
    std::unique_ptr<Tessaly::Core::MessageHandler> handler, UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
{ }

std::unique_ptr<Tessaly::Core::Message> AuthenticateMsg::clone() const
{
    return std::make_unique<AuthenticateMsg>(*this);
}

QString AuthenticateMsg::toText()
{
    // The Print Service expects the user id twice; it skips the second copy.
    const QString separator = fieldSeparator();
    const QString userId = MessageFields::wireSafe(m_userId);
    return separator + MessageFields::flagText(m_isGuest) + separator + userId + separator + userId
        + separator + MessageFields::wireSafe(m_userPin);
}

bool AuthenticateMsg::fromText(const QString &text)
{
    const QStringList fields = MessageFields::split(text);
    if (fields.size() != 6)
        return false;
    m_isGuest = MessageFields::toFlag(fields.at(2));
    m_userId = fields.at(3);
    m_userPin = fields.at(5);
    return true;
}
