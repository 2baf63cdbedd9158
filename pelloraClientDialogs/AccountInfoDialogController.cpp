#include "AccountInfoDialogController.h"

#include "KoaSessionInfo.h"

#include <QCoreApplication>

namespace {
const char *const CONTEXT = "AccountInfoDialogController";
const char *const DEPOSIT_EXPIRED_TEXT
    = QT_TRANSLATE_NOOP("AccountInfoDialogController", "Deposit Account Expired");
const char *const DEPOSIT_BALANCE_TEXT
    = QT_TRANSLATE_NOOP("AccountInfoDialogController", "Current Deposit Balance:");
const char *const CREDIT_EXPIRED_TEXT
    = QT_TRANSLATE_NOOP("AccountInfoDialogController", "Credit Account Expired");
const char *const CREDIT_BALANCE_TEXT
    = QT_TRANSLATE_NOOP("AccountInfoDialogController", "Current Credit Balance:");

QString parenthesised(const QString &amount)
{
    return QStringLiteral("(%1)").arg(amount);
}
} // namespace

const char *const AccountInfoDialogController::DEPOSIT_IMAGE = "deposit";
const char *const AccountInfoDialogController::EXPIRED_DEPOSIT_IMAGE = "deposit_disable";
const char *const AccountInfoDialogController::CREDIT_IMAGE = "credit";
const char *const AccountInfoDialogController::EXPIRED_CREDIT_IMAGE = "credit_disable";

AccountInfoDialogController::AccountInfoDialogController(KoaSessionInfo *session, int timeout)
    : m_timeout(timeout)
    , m_session(session)
{
    Q_ASSERT(m_session);
}

bool AccountInfoDialogController::hasDepositInfo() const
{
    return m_session->hasDepositInfo();
}

bool AccountInfoDialogController::hasCreditInfo() const
{
    return m_session->hasCreditInfo();
}

bool AccountInfoDialogController::hasAllocationInfo() const
{
    return m_session->hasAllocationInfo();
}

bool AccountInfoDialogController::hasLibraryDepositInfo() const
{
    return m_session->isLibraryDepositEnabled();
}

QString AccountInfoDialogController::depositImageName() const
{
    return QString::fromLatin1(
        m_session->isDepositExpired() ? EXPIRED_DEPOSIT_IMAGE : DEPOSIT_IMAGE);
}

QString AccountInfoDialogController::depositBalanceText() const
{
    return QCoreApplication::translate(
        CONTEXT, m_session->isDepositExpired() ? DEPOSIT_EXPIRED_TEXT : DEPOSIT_BALANCE_TEXT);
}

QString AccountInfoDialogController::currentDepositBalance() const
{
    return m_session->isDepositExpired() ? QString() : m_session->depositBalance();
}

QString AccountInfoDialogController::maxDepositBalance() const
{
    return m_session->maxDepositBalance();
}

QString AccountInfoDialogController::creditImageName() const
{
    return QString::fromLatin1(m_session->isCreditExpired() ? EXPIRED_CREDIT_IMAGE : CREDIT_IMAGE);
}

QString AccountInfoDialogController::creditBalanceText() const
{
    return QCoreApplication::translate(
        CONTEXT, m_session->isCreditExpired() ? CREDIT_EXPIRED_TEXT : CREDIT_BALANCE_TEXT);
}

QString AccountInfoDialogController::currentCreditBalance() const
{
    return m_session->isCreditExpired() ? QString() : parenthesised(m_session->creditBalance());
}

QString AccountInfoDialogController::maxCreditBalance() const
{
    return parenthesised(m_session->maxCreditBalance());
}

QString AccountInfoDialogController::allocationBalance() const
{
    return m_session->allocationBalance();
}

QString AccountInfoDialogController::libraryDepositBalance() const
{
    return m_session->libraryDepositBalance();
}
