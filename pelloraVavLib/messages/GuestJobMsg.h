#pragma once

#include "Message.h"

// The client's answer to GuestJobReq.
class GuestJobMsg : public Tessaly::Core::Message
{
public:
    static constexpr long MESSAGE_ID = 53;

    explicit GuestJobMsg(std::unique_ptr<Tessaly::Core::MessageHandler> handler = nullptr,
        UtilsLib::Observer *observer = nullptr);
    GuestJobMsg(const GuestJobMsg &other) = default;

    [[nodiscard]] std::unique_ptr<Tessaly::Core::Message> clone() const override;
    QString toText() override;
    bool fromText(const QString &text) override;
    long messageId() const override { return MESSAGE_ID; }

    bool isGuestJob() const { return m_isGuestJob; }
    void setIsGuestJob(bool guestJob) { m_isGuestJob = guestJob; }

private:
    bool m_isGuestJob = false;
};
