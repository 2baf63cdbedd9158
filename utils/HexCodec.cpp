#include "HexCodec.h"

#include "HexEncrypt.h"

namespace UtilsLib {

QString HexCodec::encode(const QString &text) const
{
    return HexEncrypt::encryptData(text);
}

QString HexCodec::decode(const QString &text) const
{
    return HexEncrypt::decryptData(text);
}

} // namespace UtilsLib
