#pragma once

#include "Message.h"

// The Print Service asks whether a job of an unknown user may go as a guest job.
class GuestJobReq : public Tessaly::Core::Message
{
public:
    static constexpr long MESSAGE_ID = 52;

    explicit GuestJobReq(std::unique_ptr<Tessaly::Core::MessageHandler> handler = nullptr,
        UtilsLib::Observer *observer = nullptr);
    GuestJobReq(const GuestJobReq &other) = default;

    [[nodiscard]] std::unique_ptr<Tessaly::Core::Message> clone() const override;
    QString toText() override;
    bool fromText(const QString &text) override;
    long messageId() const override { return MESSAGE_ID; }
};
