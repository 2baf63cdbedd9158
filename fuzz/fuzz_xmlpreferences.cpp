#include "XmlPreferences.h"

#include <QBuffer>
#include <QCoreApplication>

// A preferences file as found on disk: parsed, written back and parsed again.
// Whatever the first parse kept must come back unchanged from the second.

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    new QCoreApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer source(&bytes);
    source.open(QIODevice::ReadOnly);
    UtilsLib::XmlPreferences first(QStringLiteral("fuzz"));
    first.load(&source);

    QByteArray written = first.getData(QStringLiteral("\r\n")).toUtf8();
    QBuffer again(&written);
    again.open(QIODevice::ReadOnly);
    UtilsLib::XmlPreferences second(QStringLiteral("fuzz"));
    if (!second.load(&again) || second.getAllAsSet() != first.getAllAsSet())
        __builtin_trap();
    return 0;
}
