#pragma once

#include "Message.h"

// The client's answer to AuthenticateReq: the user id and the encoded PIN.
class AuthenticateMsg : public Tessaly::Core::Message
{
public:
    static constexpr long MESSAGE_ID = 55;

    explicit AuthenticateMsg(std::unique_ptr<Tessaly::Core::MessageHandler> handler = nullptr,
        UtilsLib::Observer *observer = nullptr);
    AuthenticateMsg(const AuthenticateMsg &other) = default;

    [[nodiscard]] std::unique_ptr<Tessaly::Core::Message> clone() const override;
    QString toText() override;
    bool fromText(const QString &text) override;
    long messageId() const override { return MESSAGE_ID; }

    bool isGuest() const { return m_isGuest; }
    void setIsGuest(bool guest) { m_isGuest = guest; }
    QString userId() const { return m_userId; }
    void setUserId(const QString &userId) { m_userId = userId; }
    // The PIN as encoded for the wire, never the clear PIN.
    QString userPin() const { return m_userPin; }
    void setUserPin(const QString &pin) { m_userPin = pin; }

    // The PIN never reaches a trace.
    static const bool SECRET_FIELDS_DECLARED;

private:
    bool m_isGuest = false;
    QString m_userId;
    QString m_userPin;
};
