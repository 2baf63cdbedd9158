#include "LegacyHexCodec.h"

#include "HexEncrypt.h"

namespace UtilsLib {

QString LegacyHexCodec::encode(const QString &text) const
{
    return HexEncrypt::encryptLegacy(text);
}

QString LegacyHexCodec::decode(const QString &text) const
{
    return HexEncrypt::decryptLegacy(text);
}

} // namespace UtilsLib
