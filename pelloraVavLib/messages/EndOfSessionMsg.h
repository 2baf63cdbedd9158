#pragma once

#include "Message.h"

// The client's short answer that closes the exchange of a job.
class EndOfSessionMsg : public Tessaly::Core::Message
{
public:
    static constexpr long MESSAGE_ID = 86;

    explicit EndOfSessionMsg(std::unique_ptr<Tessaly::Core::MessageHandler> handler = nullptr,
        UtilsLib::Observer *observer = nullptr);
    EndOfSessionMsg(const EndOfSessionMsg &other) = default;

    [[nodiscard]] std::unique_ptr<Tessaly::Core::Message> clone() const override;
    QString toText() override;
    bool fromText(const QString &text) override;
    long messageId() const override { return MESSAGE_ID; }
};
