#include "ImageButton.h"

#include "ImageButtonPainter.h"

#include <QPainter>

namespace UtilsLib {

ImageButton::ImageButton(const QString &text, QWidget *parent, const char *name)
    : QPushButton(text, parent)
{
    if (name)
        setObjectName(QString::fromUtf8(name));
}

ImageButton::~ImageButton() = default;

void ImageButton::setEnabledImage(const QPixmap &pixmap)
{
    m_enabledImage = pixmap;
    updateGeometry();
    update();
}

void ImageButton::setDisabledImage(const QPixmap &pixmap)
{
    m_disabledImage = pixmap;
    update();
}

void ImageButton::setPainter(ImageButtonPainter *painter)
{
    m_painter = painter;
    update();
}

QSize ImageButton::sizeHint() const
{
    QSize hint = QPushButton::sizeHint();
    if (!m_enabledImage.isNull())
        hint = hint.expandedTo(m_enabledImage.deviceIndependentSize().toSize());
    return hint;
}

void ImageButton::paintEvent(QPaintEvent *event)
{
    if (m_enabledImage.isNull() && m_disabledImage.isNull()) {
        QPushButton::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawButtonLabel(&painter);
}

void ImageButton::drawButtonLabel(QPainter *painter)
{
    if (m_painter) {
        m_painter->paint(painter);
        return;
    }
    ImageButtonPainter ownPainter(this);
    ownPainter.paint(painter);
}

} // namespace UtilsLib
