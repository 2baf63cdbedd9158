#pragma once

#include <QDateTime>
#include <QString>

namespace UtilsLib {

class ObservableEvent
{
public:
    ObservableEvent();
    ObservableEvent(const QString &category, const QString &senderId, const QString &details,
        short severityCode, const QString &function);
    virtual ~ObservableEvent() = default;

    QDateTime timestamp() const { return m_timestamp; }
    QString category() const { return m_category; }
    QString senderId() const { return m_senderId; }
    QString details() const { return m_details; }
    short severityCode() const { return m_severityCode; }
    QString sourceObject() const { return m_sourceObject; }
    QString sourceMethod() const { return m_sourceMethod; }

    QString function() const;
    QString severity() const;

private:
    QDateTime m_timestamp;
    QString m_category;
    QString m_senderId;
    QString m_details;
    short m_severityCode = 0;
    QString m_sourceObject;
    QString m_sourceMethod;
};

} // namespace UtilsLib
