#pragma once

#include "Observable.h"

#include <QString>

// Scoped entry/exit tracer. Events are only built when an observer of the
// observable wants their severity: with nobody listening, tracing costs a
// pointer test, and the system log's observer takes no entry or Info events.
class Trace
{
public:
    Trace(
        const UtilsLib::Observable *observable, const QString &className, const char *functionName);
    ~Trace();

    Trace(const Trace &) = delete;
    Trace &operator=(const Trace &) = delete;

    QString getMode(const QString &mode) const;

    static void log(const UtilsLib::Observable *observable, const QString &className,
        const char *functionName, const QString &category, int severityCode,
        const QString &details);

    // Formats the pattern with the arguments only when somebody listens.
    template<typename... Args>
    static void logf(const UtilsLib::Observable *observable, const QString &className,
        const char *functionName, const QString &category, int severityCode, const char *pattern,
        const Args &...args)
    {
        if (!isListening(observable, severityCode))
            return;
        log(observable, className, functionName, category, severityCode,
            QString::fromUtf8(pattern).arg(args...));
    }

    static bool isListening(const UtilsLib::Observable *observable, int severityCode)
    {
        return observable && observable->isListeningFor(severityCode);
    }

    static const QString Error;
    static const QString Warning;
    static const QString Info;
    static const QString Verbose;
    static const QString TraceCategory;

    enum SeverityCode {
        ErrorCode = 1,
        WarningCode = 2,
        InfoCode = 6,
        VerboseCode = 9,
        TraceCode = 9
    };

private:
    const UtilsLib::Observable *m_observable;
    QString m_className;
    const char *m_functionName;
};
