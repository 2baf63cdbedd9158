#include "QmMessageFile.h"

#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QTranslator>

#include <cstring>

#include <algorithm>
#include <utility>
#include <vector>

namespace {
const uchar Magic[16] = {
    0x3c, 0xb8, 0x64, 0x18, 0xca, 0xef, 0x9c, 0x95, 0xcd, 0x21, 0x1c, 0xbf, 0x60, 0xa1, 0xbd, 0xdd};

enum Section : quint8 { Hashes = 0x42, Messages = 0x69 };
enum Tag : quint8 {
    End = 1,
    SourceText16 = 2,
    Translation = 3,
    Context16 = 4,
    Obsolete1 = 5,
    SourceText = 6,
    Context = 7,
    Comment = 8,
    Obsolete2 = 9
};

// The translator's lookup hash of source text and comment.
quint32 elfHash(const QByteArray &text, const QByteArray &comment)
{
    quint32 h = 0;
    for (const QByteArray *part : {&text, &comment}) {
        for (const char c : *part) {
            h = (h << 4) + static_cast<uchar>(c);
            const quint32 g = h & 0xf0000000;
            if (g != 0)
                h ^= g >> 24;
            h &= ~g;
        }
    }
    return h == 0 ? 1 : h;
}

QByteArray nonNull(const QByteArray &bytes)
{
    return bytes.isNull() ? QByteArray("") : bytes;
}

quint32 read32(const uchar *p)
{
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

bool readMessages(const uchar *p, const uchar *end, QList<QmMessageFile::Message> *messages)
{
    QmMessageFile::Message message;
    while (p < end) {
        const quint8 tag = *p++;
        switch (tag) {
        case End:
            if (!message.sourceText.isNull())
                messages->append(message);
            message = QmMessageFile::Message();
            continue;
        case Obsolete1:
            if (end - p < 4)
                return false;
            p += 4;
            continue;
        case Obsolete2:
            continue;
        default:
            break;
        }
        if (end - p < 4)
            return false;
        const quint32 length = read32(p);
        p += 4;
        if (tag == Translation && length == 0xffffffff)
            continue;
        if (quint32(end - p) < length)
            return false;
        const QByteArray bytes(reinterpret_cast<const char *>(p), int(length));
        p += length;
        switch (tag) {
        case Translation: {
            QString text(int(length / 2), QChar());
            for (int i = 0; i < text.size(); ++i)
                text[i] = QChar(ushort((uchar(bytes[2 * i]) << 8) | uchar(bytes[2 * i + 1])));
            message.translation = text;
            break;
        }
        case SourceText:
            message.sourceText = bytes;
            break;
        case Context:
            message.context = bytes;
            break;
        case Comment:
            message.comment = bytes;
            break;
        case SourceText16:
        case Context16:
            break;
        default:
            return false;
        }
    }
    return true;
}
} // namespace

bool QmMessageFile::readFile(const QString &path, QByteArray *data)
{
    data->clear();
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly) || file.size() > MaxFileSize)
        return false;
    // A file that grows while it is read is still cut at the bound.
    *data = file.read(MaxFileSize + 1);
    if (data->size() > MaxFileSize) {
        data->clear();
        return false;
    }
    return true;
}

bool QmMessageFile::read(const QByteArray &data, QList<Message> *messages)
{
    messages->clear();
    if (data.size() > MaxFileSize)
        return false;
    if (data.size() < int(sizeof(Magic)) || memcmp(data.constData(), Magic, sizeof(Magic)) != 0)
        return false;
    const uchar *p = reinterpret_cast<const uchar *>(data.constData()) + sizeof(Magic);
    const uchar *end = reinterpret_cast<const uchar *>(data.constData()) + data.size();
    while (end - p >= 5) {
        const quint8 section = *p++;
        const quint32 length = read32(p);
        p += 4;
        if (quint32(end - p) < length)
            return false;
        if (section == Messages && !readMessages(p, p + length, messages))
            return false;
        p += length;
    }
    return true;
}

QByteArray QmMessageFile::write(const QList<Message> &messages)
{
    QByteArray block;
    std::vector<std::pair<quint32, quint32>> hashes;
    {
        QDataStream out(&block, QIODevice::WriteOnly);
        for (const Message &message : messages) {
            hashes.emplace_back(
                elfHash(message.sourceText, message.comment), quint32(block.size()));
            out << quint8(Translation) << message.translation;
            // A null byte array would be written as "absent", which matches anything.
            out << quint8(Context) << nonNull(message.context);
            out << quint8(SourceText) << nonNull(message.sourceText);
            out << quint8(Comment) << nonNull(message.comment);
            out << quint8(End);
        }
    }
    std::sort(hashes.begin(), hashes.end());

    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.writeRawData(reinterpret_cast<const char *>(Magic), sizeof(Magic));
    out << quint8(Hashes) << quint32(hashes.size() * 8);
    for (const auto &[hash, offset] : hashes)
        out << hash << offset;
    out << quint8(Messages) << quint32(block.size());
    out.writeRawData(block.constData(), int(block.size()));
    return file;
}

bool QmMessageFile::load(QTranslator *translator, QByteArray *data)
{
    QList<Message> messages;
    *data = read(*data, &messages) ? write(messages) : QByteArray();
    // Empty bytes fail the load, which still drops what the translator held.
    return translator->load(reinterpret_cast<const uchar *>(data->constData()), int(data->size()));
}
