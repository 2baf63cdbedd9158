#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>

class QPainter;

namespace UtilsLib {

class ImageButton;

// Paints an image button: the picture scaled to the button, the margins filled
// with the picture's edge colour, the text centred over it.
class ImageButtonPainter
{
public:
    explicit ImageButtonPainter(ImageButton *button);
    virtual ~ImageButtonPainter();

    virtual void paint(QPainter *painter);

    // What one paint would draw, for callers and tests that look without painting.
    QPixmap currentPicture() const;
    QColor currentTextColor() const;

protected:
    ImageButton *m_button;
    int m_width;
    int m_height;
    QString m_text;
    QFont m_font;
    int m_alignment;
    QColor m_textColor;
};

} // namespace UtilsLib
