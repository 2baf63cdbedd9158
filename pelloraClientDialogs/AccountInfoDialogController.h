#pragma once

#include <QObject>
#include <QString>

class KoaSessionInfo;

// Turns the balances of the current session into the texts and picture names
// of the account information dialog.
class AccountInfoDialogController : public QObject
{
    Q_OBJECT
public:
    static const char *const DEPOSIT_IMAGE;
    static const char *const EXPIRED_DEPOSIT_IMAGE;
    static const char *const CREDIT_IMAGE;
    static const char *const EXPIRED_CREDIT_IMAGE;

    AccountInfoDialogController(KoaSessionInfo *session, int timeout);

    bool hasDepositInfo() const;
    bool hasCreditInfo() const;
    bool hasAllocationInfo() const;
    bool hasLibraryDepositInfo() const;

    QString depositImageName() const;
    QString depositBalanceText() const;
    QString currentDepositBalance() const;
    QString maxDepositBalance() const;
    QString creditImageName() const;
    QString creditBalanceText() const;
    QString currentCreditBalance() const;
    QString maxCreditBalance() const;
    QString allocationBalance() const;
    QString libraryDepositBalance() const;

    int timeout() const { return m_timeout; }

private:
    int m_timeout;
    KoaSessionInfo *m_session;
};
