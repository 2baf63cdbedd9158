#include "Trace.h"

#include "ObservableEvent.h"

const QString Trace::Error = QStringLiteral("Error");
const QString Trace::Warning = QStringLiteral("Warning");
const QString Trace::Info = QStringLiteral("Info");
const QString Trace::Verbose = QStringLiteral("Verbose");
const QString Trace::TraceCategory = QStringLiteral("Trace");

Trace::Trace(
    const UtilsLib::Observable *observable, const QString &className, const char *functionName)
    : m_observable(observable)
    , m_className(className)
    , m_functionName(functionName)
{
    if (isListening(m_observable, TraceCode))
        log(m_observable, m_className, m_functionName, TraceCategory, TraceCode,
            getMode(QStringLiteral("Enter")));
}

Trace::~Trace()
{
    if (isListening(m_observable, TraceCode))
        log(m_observable, m_className, m_functionName, TraceCategory, TraceCode,
            getMode(QStringLiteral("Exit")));
}

QString Trace::getMode(const QString &mode) const
{
    return QStringLiteral("%1: %2").arg(mode, QString::fromUtf8(m_functionName));
}

void Trace::log(const UtilsLib::Observable *observable, const QString &className,
    const char *functionName, const QString &category, int severityCode, const QString &details)
{
    if (!isListening(observable, severityCode))
        return;
    const UtilsLib::ObservableEvent event(
        category, className, details, short(severityCode), QString::fromUtf8(functionName));
    observable->announceEvent(event);
}
