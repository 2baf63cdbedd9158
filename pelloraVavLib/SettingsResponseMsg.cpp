#include "SettingsResponseMsg.h"

#include "MessageFields_p.h"

SettingsResponseMsg::SettingsResponseMsg(
    const QString &locale, Tessaly::Core::MessageHandler *handler, UtilsLib::Observer *observer)
    : Message(handler, observer)
    , m_locale(locale)
{ }

SettingsResponseMsg *SettingsResponseMsg::clone() const
{
    return new SettingsResponseMsg(*this);
}

QString SettingsResponseMsg::toText()
{
    return buildMessageField('A', MessageFields::wireSafe(m_locale));
}

bool SettingsResponseMsg::fromText(const QString &)
{
    return false;
}
