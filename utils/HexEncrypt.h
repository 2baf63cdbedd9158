#pragma once

#include <QByteArray>
#include <QString>

namespace UtilsLib {

// Reversible scrambling of values into lowercase hexadecimal. An obfuscation
// shared with the Print Service, not cryptography.
class HexEncrypt
{
public:
    static constexpr unsigned char KEY = 0x52;

    static QString encryptOctet(unsigned char byte);
    static unsigned char decryptOctet(QStringView hexPair);
    static QString encrypt(const QByteArray &bytes);
    static QByteArray decrypt(const QString &text);

    static QString encryptData(const QString &text);
    static QString decryptData(const QString &text);

    static QString encryptLegacy(const QString &text);
    static QString decryptLegacy(const QString &text);
    // Buffer forms of the legacy encoding: write at most outSize - 1 bytes and
    // a terminating zero; return false for a null result.
    static bool encryptLegacy(const char *text, char *out, size_t outSize);
    static bool decryptLegacy(const char *text, char *out, size_t outSize);
};

} // namespace UtilsLib
