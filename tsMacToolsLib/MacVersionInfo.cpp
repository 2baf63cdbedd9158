#include "MacVersionInfo.h"

#include "BundleInfo.h"

MacVersionInfo macVersionInfo;
VersionInfoInterface *versionInfo = &macVersionInfo;

namespace {
QString keyValue(const char *key)
{
    // The bundle keys were read as at most 255 bytes of UTF-8.
    QByteArray utf8 = BundleInfo::value(QLatin1String(key)).toUtf8();
    if (utf8.size() > 255) {
        utf8.truncate(255);
        // Do not leave half a character at the cut.
        while (!utf8.isEmpty() && (uchar(utf8.back()) & 0xC0) == 0x80)
            utf8.chop(1);
        if (!utf8.isEmpty() && uchar(utf8.back()) >= 0xC0)
            utf8.chop(1);
    }
    return QString::fromUtf8(utf8);
}
} // namespace

MacVersionInfo::MacVersionInfo()
{
    initialize();
}

bool MacVersionInfo::initialize()
{
    companyName = keyValue("tsCFBundleSignature");
    legalCopyright = keyValue("tsCFBundleCopyright");
    versionString = keyValue("CFBundleVersion");
    productName = keyValue("tsCFBundleProductName");
    fileDescription = keyValue("tsCFBundleFileDescription");
    return true;
}
