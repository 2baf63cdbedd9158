#pragma once

#include "TextLabel.h"

// The line at the bottom of the kiosk windows; every 10 seconds it shows the
// next of product name, copyright, "All Rights Reserved", version, site name.
class CopyrightLabel : public TextLabel
{
    Q_OBJECT
public:
    explicit CopyrightLabel(QWidget *parent);

    void setAlignment(::Qt::Alignment alignment);
    void changeText();
    // The timer runs only while the label is shown; 0 otherwise.
    int timerId() const { return m_timerId; }

protected:
    void timerEvent(QTimerEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    int m_timerId = 0;
    int m_step = -1;
    ::Qt::Alignment m_alignment = ::Qt::AlignCenter;
};
