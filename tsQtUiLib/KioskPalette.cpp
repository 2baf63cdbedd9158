#include "KioskPalette.h"

#include <QApplication>
#include <QProxyStyle>
#include <QWidget>

namespace {
constexpr QPalette::ColorRole WhiteRoles[] = {QPalette::Window, QPalette::Button, QPalette::Base};

void whiten(QPalette *palette)
{
    for (const QPalette::ColorRole role : WhiteRoles)
        palette->setColor(role, ::Qt::white);
}

// The style's palette becomes the application's base palette. Set that way it
// is no palette that anyone set, so every widget shares it as it is; one set
// with QApplication::setPalette() carries the roles it sets as its own, and
// each widget would resolve a copy of its own against it.
class KioskStyle : public QProxyStyle
{
public:
    explicit KioskStyle(const QString &base)
        : QProxyStyle(base)
    { }

    void polish(QPalette &palette) override
    {
        QProxyStyle::polish(palette);
        whiten(&palette);
    }
    using QProxyStyle::polish;
};
} // namespace

QPalette KioskPalette::palette()
{
    QPalette palette = QApplication::palette();
    whiten(&palette);
    return palette;
}

void KioskPalette::install()
{
    if (!dynamic_cast<KioskStyle *>(QApplication::style()))
        QApplication::setStyle(new KioskStyle(QApplication::style()->name()));
}

void KioskPalette::apply(QWidget *window)
{
    const QPalette &current = window->palette();
    for (const QPalette::ColorRole role : WhiteRoles) {
        if (current.color(role) != QColor(::Qt::white)) {
            window->setPalette(palette());
            return;
        }
    }
}
