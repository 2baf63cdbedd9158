#pragma once

#include <QLabel>

// A word-wrapped label whose size answers are kept for the whole process.
// Wrapping shapes the whole text again for every width a layout asks about,
// and the kiosk dialogs are built anew for every request with the same texts.
class WrappingLabel : public QLabel
{
    Q_OBJECT
public:
    explicit WrappingLabel(QWidget *parent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    int heightForWidth(int width) const override;
};
