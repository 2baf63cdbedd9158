#include "KoaSessionInfo.h"

const char *const KoaSessionInfo::ZERO_AMOUNT_TEXT = "<html>&#36;</html>0.00";

KoaSessionInfo::KoaSessionInfo()
{
    initialize();
}

void KoaSessionInfo::initialize()
{
    clearUserCredentials();
    m_allocationBalance.clear();
    m_maxAllocationBalance.clear();
    m_depositBalance = QString::fromLatin1(ZERO_AMOUNT_TEXT);
    m_maxDepositBalance.clear();
    m_creditBalance = QString::fromLatin1(ZERO_AMOUNT_TEXT);
    m_maxCreditBalance.clear();
    m_depositExpired = false;
    m_creditExpired = false;
    m_pendingPageCount = 0;
    m_libraryDepositBalance.clear();
    m_libraryDepositEnabled = false;
}

void KoaSessionInfo::clearUserCredentials()
{
    m_userId.clear();
    m_userPin.clear();
}

bool KoaSessionInfo::hasAccountInfo() const
{
    return hasDepositInfo() || hasCreditInfo() || hasAllocationInfo() || m_libraryDepositEnabled;
}
