#include "TextFramer.h"

#include <QList>

// The connection's bytes cut into reads of varying size: the texts framed
// read by read must be those of splitting all the bytes at once, and the
// bound must drop exactly a tail longer than itself.

namespace {
constexpr qsizetype Bound = 64;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte seeds the read sizes, 1 to 16 bytes, or whole for 0.
    quint32 seed = data[0];
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    TextFramer framer(Bound);
    QQueue<QString> texts;
    qsizetype fed = 0;
    bool refused = false;
    while (fed < bytes.size() && !refused) {
        seed = seed * 1103515245u + 12345u;
        const qsizetype read = data[0] == 0 ? bytes.size() : qsizetype(1 + (seed >> 16) % 16);
        refused = !framer.append(bytes.mid(fed, read), &texts);
        fed = qMin(fed + read, bytes.size());
    }

    const QByteArray consumed = bytes.left(fed);
    QList<QByteArray> pieces = consumed.split('\0');
    const QByteArray tail = pieces.takeLast();
    if (texts.size() != pieces.size())
        __builtin_trap();
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (texts.at(i) != QString::fromUtf8(pieces.at(i)))
            __builtin_trap();
    }
    if (refused != (tail.size() > Bound))
        __builtin_trap();
    if (framer.pendingSize() != (refused ? 0 : tail.size()))
        __builtin_trap();
    if (framer.takePending() != (refused ? QString() : QString::fromUtf8(tail))
        || framer.pendingSize() != 0)
        __builtin_trap();
    return 0;
}
