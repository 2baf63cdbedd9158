#pragma once

#include <QString>

#include <cstdio>

// One "source: text" line on standard output, written as it is: no shell in
// between, so quotes or other shell syntax in the text are printed, not run.
inline void writeDiagnosticLine(const QString &source, const QString &text)
{
    const QByteArray line = (source + QStringLiteral(": ") + text + QLatin1Char('\n')).toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
}
