#pragma once

#include "Message.h"

// The Print Service's verdict on an identification: the account balances
// (subset 3) or a message for the user.
class AuthenticateResultMsg : public Tessaly::Core::Message
{
public:
    static constexpr long MESSAGE_ID = 56;
    static constexpr int BALANCES_SUBSET = 3;

    explicit AuthenticateResultMsg(std::unique_ptr<Tessaly::Core::MessageHandler> handler = nullptr,
        UtilsLib::Observer *observer = nullptr);
    AuthenticateResultMsg(const AuthenticateResultMsg &other) = default;

    [[nodiscard]] std::unique_ptr<Tessaly::Core::Message> clone() const override;
    QString toText() override;
    bool fromText(const QString &text) override;
    long messageId() const override { return MESSAGE_ID; }

    int messageSubset() const { return m_messageSubset; }
    void setMessageSubset(int subset) { m_messageSubset = subset; }
    QString messageHeader() const { return m_messageHeader; }
    void setMessageHeader(const QString &header) { m_messageHeader = header; }
    QString messageText() const { return m_messageText; }
    void setMessageText(const QString &text) { m_messageText = text; }

    QString allocationBalance() const { return m_allocationBalance; }
    void setAllocationBalance(const QString &value) { m_allocationBalance = value; }
    QString maxAllocationBalance() const { return m_maxAllocationBalance; }
    void setMaxAllocationBalance(const QString &value) { m_maxAllocationBalance = value; }
    QString depositBalance() const { return m_depositBalance; }
    void setDepositBalance(const QString &value) { m_depositBalance = value; }
    QString maxDepositBalance() const { return m_maxDepositBalance; }
    void setMaxDepositBalance(const QString &value) { m_maxDepositBalance = value; }
    QString creditBalance() const { return m_creditBalance; }
    void setCreditBalance(const QString &value) { m_creditBalance = value; }
    QString maxCreditBalance() const { return m_maxCreditBalance; }
    void setMaxCreditBalance(const QString &value) { m_maxCreditBalance = value; }
    QString libraryDepositBalance() const { return m_libraryDepositBalance; }
    void setLibraryDepositBalance(const QString &value) { m_libraryDepositBalance = value; }

    bool isDepositExpired() const { return m_isDepositExpired; }
    void setIsDepositExpired(bool expired) { m_isDepositExpired = expired; }
    bool isCreditExpired() const { return m_isCreditExpired; }
    void setIsCreditExpired(bool expired) { m_isCreditExpired = expired; }
    bool isLibraryDepositEnabled() const { return m_isLibraryDepositEnabled; }
    void setLibraryDepositEnabled(bool enabled) { m_isLibraryDepositEnabled = enabled; }
    bool ackRequired() const { return m_ackRequired; }
    void setAckRequired(bool required) { m_ackRequired = required; }

private:
    void resetFields();
    void setCodedField(const QString &field);

    int m_messageSubset = -1;
    QString m_messageHeader;
    QString m_messageText;
    QString m_allocationBalance;
    QString m_maxAllocationBalance;
    QString m_depositBalance;
    QString m_maxDepositBalance;
    QString m_creditBalance;
    QString m_maxCreditBalance;
    QString m_libraryDepositBalance;
    bool m_isDepositExpired = false;
    bool m_isCreditExpired = false;
    bool m_isLibraryDepositEnabled = false;
    bool m_ackRequired = false;
};
