#include "qembed_findImage.h"

#include <QHash>

namespace {
struct EmbeddedImage
{
    int width;
    int height;
    bool alpha;
    const char *name;
};

// The pixel data lives in the program's resources under :/builtin/<name>.png.
// clang-format off
const EmbeddedImage embedImageTable[] = {
    {50, 50, false, "allocation"},       {73, 25, false, "button1"},
    {73, 25, false, "button1_disable"},  {73, 25, false, "button2"},
    {50, 50, false, "credit"},           {50, 50, false, "credit_disable"},
    {50, 50, false, "deposit"},          {50, 50, false, "deposit_disable"},
    {200, 46, false, "largeButton1"},    {300, 175, false, "Pellora"},
    {50, 50, false, "password"},         {16, 16, true, "PrintClient"},
    {48, 48, true, "PrintClientLarge"},  {16, 16, true, "PrintClientBW"},
    {50, 50, false, "PrintOK"},          {50, 50, false, "UserID"},
    {50, 50, false, "WantToPrint"},      {50, 50, false, "pelloraClientImage"},
    {0, 0, false, nullptr},
};
// clang-format on

QImage loadEmbedded(const EmbeddedImage &entry)
{
    QImage image(QLatin1String(":/builtin/") + QLatin1String(entry.name) + QLatin1String(".png"));
    if (image.isNull())
        return image;
    image = image.convertToFormat(entry.alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.width() != entry.width || image.height() != entry.height)
        image = image.scaled(
            entry.width, entry.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}
} // namespace

const QImage &qembed_findImage(const QString &name)
{
    static QHash<QString, QImage> dictionary;
    static const QImage empty;
    const auto cached = dictionary.constFind(name);
    if (cached != dictionary.constEnd())
        return cached.value();
    for (const EmbeddedImage *entry = embedImageTable; entry->name; ++entry) {
        if (name == QLatin1String(entry->name))
            return dictionary.insert(name, loadEmbedded(*entry)).value();
    }
    return empty;
}
