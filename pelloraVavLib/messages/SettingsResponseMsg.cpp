#include "SettingsResponseMsg.h"

#include "MessageFields_p.h"

SettingsResponseMsg::SettingsResponseMsg(const QString &locale,
    std::unique_ptr<Tessaly::Core::MessageHandler> handler, UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
    , m_locale(locale)
{ }

std::unique_ptr<Tessaly::Core::Message> SettingsResponseMsg::clone() const
{
    return std::make_unique<SettingsResponseMsg>(*this);
}

QString SettingsResponseMsg::toText()
{
    return buildMessageField('A', MessageFields::wireSafe(m_locale));
}

bool SettingsResponseMsg::fromText(const QString &)
{
    return false;
}
