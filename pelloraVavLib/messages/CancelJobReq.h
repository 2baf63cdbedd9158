#pragma once

#include "Message.h"

// The client's refusal of a job, or the user gave up identifying.
class CancelJobReq : public Tessaly::Core::Message
{
public:
    static constexpr long MESSAGE_ID = 7;

    explicit CancelJobReq(std::unique_ptr<Tessaly::Core::MessageHandler> handler = nullptr,
        UtilsLib::Observer *observer = nullptr);
    CancelJobReq(const CancelJobReq &other) = default;

    [[nodiscard]] std::unique_ptr<Tessaly::Core::Message> clone() const override;
    QString toText() override;
    bool fromText(const QString &text) override;
    long messageId() const override { return MESSAGE_ID; }
};
