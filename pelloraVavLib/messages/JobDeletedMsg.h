#pragma once

#include "Message.h"

// The Print Service reports that a job was deleted.
class JobDeletedMsg : public Tessaly::Core::Message
{
public:
    static constexpr long MESSAGE_ID = 51;

    explicit JobDeletedMsg(std::unique_ptr<Tessaly::Core::MessageHandler> handler = nullptr,
        UtilsLib::Observer *observer = nullptr);
    JobDeletedMsg(const JobDeletedMsg &other) = default;

    [[nodiscard]] std::unique_ptr<Tessaly::Core::Message> clone() const override;
    QString toText() override;
    bool fromText(const QString &text) override;
    long messageId() const override { return MESSAGE_ID; }
};
