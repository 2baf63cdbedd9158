#include "ObservableEvent.h"

#include <QCoreApplication>

namespace UtilsLib {

ObservableEvent::ObservableEvent()
    : m_timestamp(QDateTime::currentDateTime())
{ }

ObservableEvent::ObservableEvent(const QString &category, const QString &senderId,
    const QString &details, short severityCode, const QString &function)
    : m_timestamp(QDateTime::currentDateTime())
    , m_category(category)
    , m_senderId(senderId)
    , m_details(details)
    , m_severityCode(severityCode)
{
    const qsizetype split = function.lastIndexOf(QLatin1String("::"));
    if (split > 0) {
        m_sourceObject = function.left(split);
        m_sourceMethod = function.mid(split + 2);
    } else {
        m_sourceMethod = function;
    }
}

QString ObservableEvent::function() const
{
    if (m_sourceObject.isEmpty())
        return m_sourceMethod;
    return QStringLiteral("%1::%2").arg(m_sourceObject, m_sourceMethod);
}

QString ObservableEvent::severity() const
{
    switch (m_severityCode) {
    case 0:
        return QCoreApplication::translate("ObservableEvent", "None");
    case 1:
        return QCoreApplication::translate("ObservableEvent", "Error");
    case 2:
    case 6:
    case 9:
        return QCoreApplication::translate("ObservableEvent", "Information");
    default:
        return QCoreApplication::translate("ObservableEvent", "Unknown");
    }
}

} // namespace UtilsLib
