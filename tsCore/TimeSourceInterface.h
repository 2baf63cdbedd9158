#pragma once

#include <QDateTime>
#include <QString>

class TimeSourceInterface
{
public:
    virtual ~TimeSourceInterface() = default;
    virtual QDateTime currentTime() const = 0;

    void setFormat(const QString &format) { m_format = format; }
    QString format() const { return m_format; }
    QString timeStamp() const { return currentTime().toString(m_format); }

private:
    QString m_format = QStringLiteral("yyyyMMddhhmmss");
};
