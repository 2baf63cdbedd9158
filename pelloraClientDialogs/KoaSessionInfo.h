#pragma once

#include <QString>

// What the client knows of the patron of the current print session: the
// identity typed for the last job, so that the next request of the same
// session does not ask again, and the balances the Print Service reported.
// Memory only; shared by the job handlers and read by the dialogs.
class KoaSessionInfo
{
public:
    // The balance the Print Service reports for an empty account; the dialogs
    // show balances as rich text.
    static const char *const ZERO_AMOUNT_TEXT;

    KoaSessionInfo();

    void initialize();
    void clearUserCredentials();

    QString userId() const { return m_userId; }
    void setUserId(const QString &userId) { m_userId = userId; }
    QString userPin() const { return m_userPin; }
    void setUserPin(const QString &userPin) { m_userPin = userPin; }

    QString allocationBalance() const { return m_allocationBalance; }
    void setAllocationBalance(const QString &text) { m_allocationBalance = text; }
    QString maxAllocationBalance() const { return m_maxAllocationBalance; }
    void setMaxAllocationBalance(const QString &text) { m_maxAllocationBalance = text; }
    QString depositBalance() const { return m_depositBalance; }
    void setDepositBalance(const QString &text) { m_depositBalance = text; }
    QString maxDepositBalance() const { return m_maxDepositBalance; }
    void setMaxDepositBalance(const QString &text) { m_maxDepositBalance = text; }
    QString creditBalance() const { return m_creditBalance; }
    void setCreditBalance(const QString &text) { m_creditBalance = text; }
    QString maxCreditBalance() const { return m_maxCreditBalance; }
    void setMaxCreditBalance(const QString &text) { m_maxCreditBalance = text; }
    QString libraryDepositBalance() const { return m_libraryDepositBalance; }
    void setLibraryDepositBalance(const QString &text) { m_libraryDepositBalance = text; }

    bool isDepositExpired() const { return m_depositExpired; }
    void setIsDepositExpired(bool expired) { m_depositExpired = expired; }
    bool isCreditExpired() const { return m_creditExpired; }
    void setIsCreditExpired(bool expired) { m_creditExpired = expired; }
    bool isLibraryDepositEnabled() const { return m_libraryDepositEnabled; }
    void setLibraryDepositEnabled(bool enabled) { m_libraryDepositEnabled = enabled; }

    int pageCountForPendingPrintJob() const { return m_pendingPageCount; }
    void setPageCountForPendingPrintJob(int pages) { m_pendingPageCount = pages; }

    bool hasAllocationInfo() const { return !m_maxAllocationBalance.isEmpty(); }
    bool hasDepositInfo() const { return !m_maxDepositBalance.isEmpty(); }
    bool hasCreditInfo() const { return !m_maxCreditBalance.isEmpty(); }
    bool hasAccountInfo() const;

private:
    QString m_userId;
    QString m_userPin;
    QString m_allocationBalance;
    QString m_maxAllocationBalance;
    QString m_depositBalance;
    QString m_maxDepositBalance;
    QString m_creditBalance;
    QString m_maxCreditBalance;
    bool m_depositExpired = false;
    bool m_creditExpired = false;
    int m_pendingPageCount = 0;
    QString m_libraryDepositBalance;
    bool m_libraryDepositEnabled = false;
};
