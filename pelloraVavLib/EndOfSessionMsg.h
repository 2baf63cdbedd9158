#pragma once

#include "Message.h"

// The client's short answer that closes the exchange of a job.
class EndOfSessionMsg : public Tessaly::Core::Message
{
public:
    static constexpr long MESSAGE_ID = 86;

    explicit EndOfSessionMsg(
        Tessaly::Core::MessageHandler *handler = nullptr, UtilsLib::Observer *observer = nullptr);
    EndOfSessionMsg(const EndOfSessionMsg &other) = default;

    [[nodiscard]] EndOfSessionMsg *clone() const override;
    QString toText() override;
    bool fromText(const QString &text) override;
    long messageId() const override { return MESSAGE_ID; }
};
