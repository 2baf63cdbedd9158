#include "JobConfirmationDialogModel.h"

void JobConfirmationDialogModel::setJobNumber(long number)
{
    m_jobNumber = number;
}

void JobConfirmationDialogModel::setExpireTime(const QString &time)
{
    m_expireTime = time;
}

void JobConfirmationDialogModel::setPickupLocations(const QList<PickupLocation> &locations)
{
    m_pickupLocations = locations;
}
