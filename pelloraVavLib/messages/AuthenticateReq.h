#pragma once

#include "Message.h"

// The Print Service asks who sends the job; showFlags selects PIN and guest options.
class AuthenticateReq : public Tessaly::Core::Message
{
public:
    static constexpr long MESSAGE_ID = 54;

    explicit AuthenticateReq(std::unique_ptr<Tessaly::Core::MessageHandler> handler = nullptr,
        UtilsLib::Observer *observer = nullptr);
    AuthenticateReq(const AuthenticateReq &other) = default;

    [[nodiscard]] std::unique_ptr<Tessaly::Core::Message> clone() const override;
    QString toText() override;
    bool fromText(const QString &text) override;
    long messageId() const override { return MESSAGE_ID; }

    int showFlags() const { return m_showFlags; }
    void setShowFlags(int flags) { m_showFlags = flags; }

private:
    int m_showFlags = 1;
};
