#include "qembed_findImage.h"

#include <QGuiApplication>
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

// On a screen scaled above 1 the @2x drawing is taken where there is one: it
// answers to the same size in device-independent pixels, with twice the detail.
QImage loadEmbedded(const EmbeddedImage &entry)
{
    const QString base = QLatin1String(":/builtin/") + QLatin1String(entry.name);
    const int ratio = qGuiApp && qGuiApp->devicePixelRatio() > 1 ? 2 : 1;
    QImage image;
    if (ratio > 1)
        image.load(base + QLatin1String("@2x.png"));
    const int scale = image.isNull() ? 1 : ratio;
    if (image.isNull())
        image.load(base + QLatin1String(".png"));
    if (image.isNull())
        return image;
    image = image.convertToFormat(entry.alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.width() != entry.width * scale || image.height() != entry.height * scale)
        image = image.scaled(entry.width * scale, entry.height * scale, Qt::IgnoreAspectRatio,
            Qt::SmoothTransformation);
    image.setDevicePixelRatio(scale);
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
