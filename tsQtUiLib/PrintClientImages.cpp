#include "PrintClientImages.h"

#include "qembed_findImage.h"

#include <QHash>
#include <QImage>
#include <QTextDocument>
#include <QUrl>

namespace {
const QPixmap &kept(const char *name)
{
    static QHash<QString, QPixmap> pictures;
    const QString key = QLatin1String(name);
    auto it = pictures.find(key);
    if (it == pictures.end())
        it = pictures.insert(key, QPixmap::fromImage(qembed_findImage(key)));
    return it.value();
}
} // namespace

QPixmap PrintClientImages::findImage(const QString &name)
{
    return QPixmap::fromImage(qembed_findImage(name));
}

void PrintClientImages::serveOnlyBuiltInImages()
{
    if (QTextDocument::defaultResourceProvider())
        return;
    QTextDocument::setDefaultResourceProvider([](const QUrl &url) -> QVariant {
        // A null answer would send the text engine to the file system.
        QImage image = qembed_findImage(url.toString());
        if (image.isNull()) {
            image = QImage(1, 1, QImage::Format_ARGB32);
            image.fill(::Qt::transparent);
        }
        return image;
    });
}

QPixmap PrintClientImages::allocation()
{
    return kept("allocation");
}
QPixmap PrintClientImages::button1()
{
    return kept("button1");
}
QPixmap PrintClientImages::button1_disable()
{
    return kept("button1_disable");
}
QPixmap PrintClientImages::button2()
{
    return kept("button2");
}
QPixmap PrintClientImages::credit()
{
    return kept("credit");
}
QPixmap PrintClientImages::credit_disable()
{
    return kept("credit_disable");
}
QPixmap PrintClientImages::deposit()
{
    return kept("deposit");
}
QPixmap PrintClientImages::deposit_disable()
{
    return kept("deposit_disable");
}
QPixmap PrintClientImages::libraryDeposit()
{
    return deposit();
}
QPixmap PrintClientImages::largeButton1()
{
    return kept("largeButton1");
}
QPixmap PrintClientImages::pelloraOne()
{
    return kept("Pellora");
}
QPixmap PrintClientImages::password()
{
    return kept("password");
}
QPixmap PrintClientImages::printClient()
{
    return kept("PrintClient");
}
QPixmap PrintClientImages::printClientBW()
{
    return kept("PrintClientBW");
}
QPixmap PrintClientImages::printOk()
{
    return kept("PrintOK");
}
QPixmap PrintClientImages::userId()
{
    return kept("UserID");
}
QPixmap PrintClientImages::wantToPrint()
{
    return kept("WantToPrint");
}
QPixmap PrintClientImages::pelloraClientImage()
{
    return kept("pelloraClientImage");
}
