#pragma once

#include "Message.h"

// The Print Service offers a newer client version.
class PrintClientUpdateMsg : public Tessaly::Core::Message
{
public:
    static constexpr long MESSAGE_ID = 64;

    explicit PrintClientUpdateMsg(std::unique_ptr<Tessaly::Core::MessageHandler> handler = nullptr,
        UtilsLib::Observer *observer = nullptr);
    PrintClientUpdateMsg(const PrintClientUpdateMsg &other) = default;

    [[nodiscard]] std::unique_ptr<Tessaly::Core::Message> clone() const override;
    QString toText() override;
    bool fromText(const QString &text) override;
    long messageId() const override { return MESSAGE_ID; }

    QString getVersion() const { return m_version; }
    void setVersion(const QString &version) { m_version = version; }
    QString getLauncherUrl() const { return m_launcherUrl; }
    void setLauncherUrl(const QString &url) { m_launcherUrl = url; }

private:
    QString m_version;
    QString m_launcherUrl;
};
