#pragma once

#include "Message.h"

// The Print Service reports the result of releasing a held job and which
// accounts paid for it.
class AutoReleaseMsg : public Tessaly::Core::Message
{
public:
    static constexpr long MESSAGE_ID = 62;

    explicit AutoReleaseMsg(std::unique_ptr<Tessaly::Core::MessageHandler> handler = nullptr);
    AutoReleaseMsg(const AutoReleaseMsg &other) = default;

    [[nodiscard]] std::unique_ptr<Tessaly::Core::Message> clone() const override;
    QString toText() override;
    bool fromText(const QString &text) override;
    long messageId() const override { return MESSAGE_ID; }

    // The error message, followed by the refund notice when a refund is due.
    QString getErrorMessage() const;

    bool released() const { return m_released; }
    void setReleased(bool released) { m_released = released; }
    long releaseNumber() const { return m_releaseNumber; }
    void setReleaseNumber(long number) { m_releaseNumber = number; }
    QString printerFamily() const { return m_printerFamily; }
    void setPrinterFamily(const QString &family) { m_printerFamily = family; }
    QString pickupLocation() const { return m_pickupLocation; }
    void setPickupLocation(const QString &location) { m_pickupLocation = location; }
    QString errorMessage() const { return m_errorMessage; }
    void setErrorMessage(const QString &message) { m_errorMessage = message; }
    // Letters A (allocation), D (deposit), C (credit) in the order the accounts were charged.
    QString paymentOrder() const { return m_paymentOrder; }
    void setPaymentOrder(const QString &order) { m_paymentOrder = order; }
    QString allocationAmount() const { return m_allocationAmount; }
    void setAllocationAmount(const QString &amount) { m_allocationAmount = amount; }
    QString depositAmount() const { return m_depositAmount; }
    void setDepositAmount(const QString &amount) { m_depositAmount = amount; }
    QString creditAmount() const { return m_creditAmount; }
    void setCreditAmount(const QString &amount) { m_creditAmount = amount; }
    // In cents.
    QString refundAmount() const { return m_refundAmount; }
    void setRefundAmount(const QString &amount) { m_refundAmount = amount; }
    QString refundId() const { return m_refundId; }
    void setRefundId(const QString &id) { m_refundId = id; }

private:
    bool m_released = false;
    long m_releaseNumber = 0;
    QString m_printerFamily;
    QString m_pickupLocation;
    QString m_errorMessage;
    QString m_paymentOrder;
    QString m_allocationAmount;
    QString m_depositAmount;
    QString m_creditAmount;
    QString m_refundAmount;
    QString m_refundId;
};
