#pragma once

#include <QLabel>

// A text label whose size answers are kept for the whole process. QLabel lays
// its text out again for every size asked about, several times over when it
// wraps, and the kiosk dialogs are built anew for every request with the same
// texts. A label without text (a picture) answers as QLabel does.
class TextLabel : public QLabel
{
    Q_OBJECT
public:
    explicit TextLabel(QWidget *parent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    int heightForWidth(int width) const override;
};
