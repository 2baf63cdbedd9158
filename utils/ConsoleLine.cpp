#include "ConsoleLine.h"

#include <QString>

#include <cstdio>

namespace UtilsLib {

namespace {
void writeLine(std::FILE *stream, const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}
} // namespace

void writeConsoleLine(const QString &line)
{
    writeLine(stdout, line);
}

void writeErrorLine(const QString &line)
{
    writeLine(stderr, line);
}

} // namespace UtilsLib
