#include "HexEncrypt.h"

#include <cstring>

namespace UtilsLib {

namespace {
constexpr qsizetype LegacyMaxLength = 1024;
const QLatin1String LegacySeparatorEscape("#^#");

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}
} // namespace

QString HexEncrypt::encryptOctet(unsigned char byte)
{
    static const char digits[] = "0123456789abcdef";
    const unsigned char rotated = static_cast<unsigned char>((byte << 1) | (byte >> 7));
    const unsigned char scrambled = static_cast<unsigned char>(rotated - KEY);
    const char pair[2] = {digits[scrambled >> 4], digits[scrambled & 0x0f]};
    return QString::fromLatin1(pair, 2);
}

unsigned char HexEncrypt::decryptOctet(QStringView hexPair)
{
    // A pair with anything but hex digits reads as 0.
    int value = 0;
    if (hexPair.size() == 2) {
        const int high = hexValue(hexPair[0]);
        const int low = hexValue(hexPair[1]);
        if (high >= 0 && low >= 0)
            value = high * 16 + low;
    }
    const unsigned char sum = static_cast<unsigned char>(value + KEY);
    return static_cast<unsigned char>((sum >> 1) | (sum << 7));
}

QString HexEncrypt::encrypt(const QByteArray &bytes)
{
    QString result;
    result.reserve(bytes.size() * 2);
    for (const char byte : bytes)
        result += encryptOctet(static_cast<unsigned char>(byte));
    return result;
}

QByteArray HexEncrypt::decrypt(const QString &text)
{
    QByteArray bytes;
    const qsizetype pairs = text.size() / 2;
    bytes.reserve(pairs);
    for (qsizetype i = 0; i < pairs; ++i)
        bytes.append(static_cast<char>(decryptOctet(QStringView(text).mid(i * 2, 2))));
    return bytes;
}

QString HexEncrypt::encryptData(const QString &text)
{
    return encrypt(text.toUtf8());
}

QString HexEncrypt::decryptData(const QString &text)
{
    if (text.isEmpty())
        return QString();
    return QString::fromUtf8(decrypt(text));
}

QString HexEncrypt::encryptLegacy(const QString &text)
{
    if (text.size() > LegacyMaxLength)
        return QString();
    QString result(QLatin1String(""));
    for (const QChar c : text) {
        // Characters outside Latin-1 become '?', as the Latin-1 conversion gives them.
        const unsigned char plain
            = c.unicode() > 0xff ? '?' : static_cast<unsigned char>(c.unicode());
        const unsigned char coded = static_cast<unsigned char>(2 * plain - KEY);
        if (coded == 0)
            break;
        if (coded == '|')
            result += LegacySeparatorEscape;
        else
            result += QChar(coded);
    }
    return result;
}

QString HexEncrypt::decryptLegacy(const QString &text)
{
    if (text.size() > LegacyMaxLength)
        return QString();
    QString result(QLatin1String(""));
    for (qsizetype i = 0; i < text.size(); ++i) {
        unsigned int c;
        if (QStringView(text).mid(i, 3) == LegacySeparatorEscape) {
            c = '|';
            i += 2;
        } else {
            c = text.at(i).unicode();
            if (c > 255)
                c = 0;
        }
        result += QChar(static_cast<unsigned char>((c + KEY) / 2));
    }
    return result;
}

namespace {
// The buffer forms: the text form's result, cut to the buffer and terminated.
bool intoBuffer(QString (*transform)(const QString &), const char *text, char *out, size_t outSize)
{
    if (!text || !out || outSize == 0)
        return false;
    const QString result = transform(QString::fromLatin1(text));
    if (result.isNull())
        return false;
    const QByteArray bytes = result.toLatin1();
    const size_t n = std::min(size_t(bytes.size()), outSize - 1);
    std::memcpy(out, bytes.constData(), n);
    out[n] = '\0';
    return true;
}
} // namespace

bool HexEncrypt::encryptLegacy(const char *text, char *out, size_t outSize)
{
    return intoBuffer(&HexEncrypt::encryptLegacy, text, out, outSize);
}

bool HexEncrypt::decryptLegacy(const char *text, char *out, size_t outSize)
{
    return intoBuffer(&HexEncrypt::decryptLegacy, text, out, outSize);
}

} // namespace UtilsLib
