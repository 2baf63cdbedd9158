#include "ImageButtonPainter.h"

#include "ImageButton.h"

#include <QPainter>

namespace UtilsLib {

ImageButtonPainter::ImageButtonPainter(ImageButton *button)
    : m_button(button)
    , m_width(button->width())
    , m_height(button->height())
    , m_text(button->text())
    , m_font(button->font())
    , m_alignment(Qt::AlignHCenter | Qt::AlignVCenter)
    , m_textColor(Qt::black)
{ }

ImageButtonPainter::~ImageButtonPainter() = default;

QPixmap ImageButtonPainter::currentPicture() const
{
    if (m_button->isEnabled() || m_button->disabledImage().isNull())
        return m_button->enabledImage();
    return m_button->disabledImage();
}

QColor ImageButtonPainter::currentTextColor() const
{
    return m_button->isEnabled() ? m_textColor : QColor(Qt::gray);
}

void ImageButtonPainter::paint(QPainter *painter)
{
    // A painter set from outside outlives changes of the button, so look again.
    m_width = m_button->width();
    m_height = m_button->height();
    m_text = m_button->text();
    m_font = m_button->font();

    // Scaled to the device's pixels, so that a scaled screen shows the
    // picture's own detail rather than an enlarged copy.
    const qreal ratio = m_button->devicePixelRatioF();
    QPixmap scaled = currentPicture().scaled(qRound(m_width * ratio), qRound(m_height * ratio),
        Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(ratio);
    const QRect area(0, 0, m_width, m_height);
    if (!scaled.isNull() && scaled.width() > 1 && scaled.height() > 1)
        painter->fillRect(area, scaled.toImage().pixelColor(1, 1));

    const int shift = m_button->isDown() ? 1 : 0;
    painter->drawPixmap(
        (m_width - qRound(scaled.deviceIndependentSize().width())) / 2 + shift, shift, scaled);
    painter->setFont(m_font);
    painter->setPen(currentTextColor());
    painter->drawText(area.translated(shift, shift), m_alignment, m_text);
}

} // namespace UtilsLib
