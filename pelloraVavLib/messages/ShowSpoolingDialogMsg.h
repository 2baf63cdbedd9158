#pragma once

#include "Message.h"

// The Print Service asks the client to show its processing window.
class ShowSpoolingDialogMsg : public Tessaly::Core::Message
{
public:
    static constexpr long MESSAGE_ID = 60;

    explicit ShowSpoolingDialogMsg(std::unique_ptr<Tessaly::Core::MessageHandler> handler = nullptr,
        UtilsLib::Observer *observer = nullptr);
    ShowSpoolingDialogMsg(const ShowSpoolingDialogMsg &other) = default;

    [[nodiscard]] std::unique_ptr<Tessaly::Core::Message> clone() const override;
    QString toText() override;
    bool fromText(const QString &text) override;
    long messageId() const override { return MESSAGE_ID; }
};
