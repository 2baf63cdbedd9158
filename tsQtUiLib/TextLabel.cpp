#include "TextLabel.h"

TextLabel::TextLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(::Qt::PlainText);
}
