#pragma once

#include "Message.h"

#include <QList>
#include <QPair>

// The Print Service confirms a held job: number, expiry and where to release it.
class PrintJobConfirmationMsg : public Tessaly::Core::Message
{
public:
    static constexpr long MESSAGE_ID = 6;
    static const QString PICKUP_INFO_SEPARATOR;

    using PickupLocation = QPair<QString, QString>;

    explicit PrintJobConfirmationMsg(
        std::unique_ptr<Tessaly::Core::MessageHandler> handler = nullptr,
        UtilsLib::Observer *observer = nullptr);
    PrintJobConfirmationMsg(const PrintJobConfirmationMsg &other) = default;

    [[nodiscard]] std::unique_ptr<Tessaly::Core::Message> clone() const override;
    QString toText() override;
    bool fromText(const QString &text) override;
    long messageId() const override { return MESSAGE_ID; }

    bool showDialog() const { return m_showDialog; }
    void setShowDialog(bool show) { m_showDialog = show; }
    long jobNumber() const { return m_jobNumber; }
    void setJobNumber(long number) { m_jobNumber = number; }
    QString expireTime() const { return m_expireTime; }
    void setExpireTime(const QString &time) { m_expireTime = time; }

    QList<PickupLocation> pickupLocations() const { return m_pickupLocations; }
    void setPickupLocations(const QList<PickupLocation> &locations);
    // The pickup pairs joined again, as last parsed or set.
    QString prtLocationString() const { return m_prtLocationString; }
    QString pickupLocationsToText() const;

    static QString nullProtect(const QString &text);

private:
    void clearPickupLocations();

    bool m_showDialog = false;
    long m_jobNumber = -1;
    QString m_expireTime;
    QList<PickupLocation> m_pickupLocations;
    QString m_prtLocationString;
};
