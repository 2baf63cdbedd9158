#pragma once

#include <QLabel>

// A label of a translated text: plain, since the Print Service may override
// any translation.
class TextLabel : public QLabel
{
    Q_OBJECT
public:
    explicit TextLabel(QWidget *parent);
};
