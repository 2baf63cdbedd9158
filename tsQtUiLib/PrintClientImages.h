#pragma once

#include <QPixmap>
#include <QString>

// The built-in pictures of the client, each made once on first use.
class PrintClientImages
{
public:
    static QPixmap findImage(const QString &name);
    // Makes rich text anywhere in the client draw pictures only from these: an
    // <img> of a file, a device or a URL gets a blank pixel, never a read.
    static void serveOnlyBuiltInImages();

    static QPixmap allocation();
    static QPixmap button1();
    static QPixmap button1_disable();
    static QPixmap button2();
    static QPixmap credit();
    static QPixmap credit_disable();
    static QPixmap deposit();
    static QPixmap deposit_disable();
    static QPixmap libraryDeposit();
    static QPixmap largeButton1();
    static QPixmap pelloraOne();
    static QPixmap password();
    static QPixmap printClient();
    static QPixmap printClientBW();
    static QPixmap printOk();
    static QPixmap userId();
    static QPixmap wantToPrint();
    // The processing dialog's picture.
    static QPixmap pelloraClientImage();
};
