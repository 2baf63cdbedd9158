#pragma once

#include "Message.h"

// The client's answer to SettingsMsg: the locale in force.
class SettingsResponseMsg : public Tessaly::Core::Message
{
public:
    static constexpr long MESSAGE_ID = 59;

    explicit SettingsResponseMsg(const QString &locale = QString(),
        std::unique_ptr<Tessaly::Core::MessageHandler> handler = nullptr,
        UtilsLib::Observer *observer = nullptr);
    SettingsResponseMsg(const SettingsResponseMsg &other) = default;

    [[nodiscard]] std::unique_ptr<Tessaly::Core::Message> clone() const override;
    QString toText() override;
    // Only ever sent: every text is rejected.
    bool fromText(const QString &text) override;
    long messageId() const override { return MESSAGE_ID; }

    QString locale() const { return m_locale; }

private:
    QString m_locale;
};
