#include "AuthenticateReq.h"

#include "MessageFields_p.h"

AuthenticateReq::AuthenticateReq(
    std::unique_ptr<Tessaly::Core::MessageHandler> handler, UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
{ }

std::unique_ptr<Tessaly::Core::Message> AuthenticateReq::clone() const
{
    return std::make_unique<AuthenticateReq>(*this);
}

QString AuthenticateReq::toText()
{
    return QString();
}

bool AuthenticateReq::fromText(const QString &text)
{
    const QStringList fields = MessageFields::split(text);
    if (fields.size() != 3)
        return false;
    m_showFlags = fields.at(2).toInt();
    return true;
}
