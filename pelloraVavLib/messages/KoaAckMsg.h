#pragma once

#include "Message.h"

// The client's short answer that closes an exchange that needs no other answer.
class KoaAckMsg : public Tessaly::Core::Message
{
public:
    static constexpr long MESSAGE_ID = 80;

    explicit KoaAckMsg(std::unique_ptr<Tessaly::Core::MessageHandler> handler = nullptr,
        UtilsLib::Observer *observer = nullptr);
    KoaAckMsg(const KoaAckMsg &other) = default;

    [[nodiscard]] std::unique_ptr<Tessaly::Core::Message> clone() const override;
    QString toText() override;
    bool fromText(const QString &text) override;
    long messageId() const override { return MESSAGE_ID; }
};
