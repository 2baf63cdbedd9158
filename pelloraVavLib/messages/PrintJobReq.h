#pragma once

#include "Message.h"

// The client's consent to print a received job.
class PrintJobReq : public Tessaly::Core::Message
{
public:
    static constexpr long MESSAGE_ID = 5;

    explicit PrintJobReq(const QString &locale = QString(),
        std::unique_ptr<Tessaly::Core::MessageHandler> handler = nullptr,
        UtilsLib::Observer *observer = nullptr);
    PrintJobReq(const PrintJobReq &other) = default;

    [[nodiscard]] std::unique_ptr<Tessaly::Core::Message> clone() const override;
    QString toText() override;
    bool fromText(const QString &text) override;
    long messageId() const override { return MESSAGE_ID; }

    QString locale() const { return m_locale; }
    QString pcDescription() const { return m_pcDescription; }
    // Stores description, or fallback when description is empty.
    void setPcDescription(const QString &description, const QString &fallback);

private:
    QString m_locale;
    QString m_pcDescription;
};
