#pragma once

#include <QList>
#include <QPair>
#include <QString>

// What the job confirmation dialog shows of a job the Print Service holds.
class JobConfirmationDialogModel
{
public:
    // Release terminal, then location.
    using PickupLocation = QPair<QString, QString>;

    void setJobNumber(long number);
    long getJobNumber() const { return m_jobNumber; }
    // ISO 8601 as received; empty when the job does not expire.
    void setExpireTime(const QString &time);
    QString getExpireTime() const { return m_expireTime; }
    void setPickupLocations(const QList<PickupLocation> &locations);
    QList<PickupLocation> getPickupLocations() const { return m_pickupLocations; }

private:
    long m_jobNumber = 0;
    QString m_expireTime;
    QList<PickupLocation> m_pickupLocations;
};
