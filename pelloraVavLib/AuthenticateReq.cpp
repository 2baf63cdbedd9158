#include "AuthenticateReq.h"

#include "MessageFields_p.h"

AuthenticateReq::AuthenticateReq(
    Tessaly::Core::MessageHandler *handler, UtilsLib::Observer *observer)
    : Message(handler, observer)
{ }

AuthenticateReq *AuthenticateReq::clone() const
{
    return new AuthenticateReq(*this);
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
