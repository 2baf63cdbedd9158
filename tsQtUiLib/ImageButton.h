#pragma once

#include <QPixmap>
#include <QPushButton>

namespace UtilsLib {

class ImageButtonPainter;

// A push button drawn as a picture with its text written over it. Without any
// picture it falls back to the ordinary push-button look, so a missing image
// file never leaves an invisible button.
class ImageButton : public QPushButton
{
    Q_OBJECT
public:
    ImageButton(const QString &text, QWidget *parent = nullptr, const char *name = nullptr);
    ~ImageButton() override;

    void setEnabledImage(const QPixmap &pixmap);
    QPixmap enabledImage() const { return m_enabledImage; }
    void setDisabledImage(const QPixmap &pixmap);
    QPixmap disabledImage() const { return m_disabledImage; }

    // The painter is borrowed; null goes back to a painter made per paint.
    void setPainter(ImageButtonPainter *painter);
    ImageButtonPainter *painter() const { return m_painter; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    virtual void drawButtonLabel(QPainter *painter);

private:
    QPixmap m_disabledImage;
    QPixmap m_enabledImage;
    ImageButtonPainter *m_painter = nullptr;
};

} // namespace UtilsLib
