#include "CopyrightLabel.h"

#include "TsBaseDialog.h"
#include "VersionInfoInterface.h"

#include <QCoreApplication>
#include <QTimerEvent>

namespace {
constexpr int INTERVAL_MS = 10000;
}

CopyrightLabel::CopyrightLabel(QWidget *parent)
    : TextLabel(parent)
{
    setObjectName(QStringLiteral("CopyrightLabel"));
    QFont labelFont = parent ? parent->font() : font();
    labelFont.setPointSize(10);
    setFont(labelFont);
    setFixedHeight(30);
    // The site name comes from the Print Service: shown, never interpreted.
    setTextFormat(::Qt::PlainText);
    setWordWrap(true);
    changeText();
    setAlignment(m_alignment);
}

void CopyrightLabel::setAlignment(::Qt::Alignment alignment)
{
    m_alignment = alignment;
    QLabel::setAlignment(alignment);
}

void CopyrightLabel::changeText()
{
    ++m_step;
    switch (m_step) {
    case 0:
        setText(versionInfo->getProductName());
        break;
    case 1:
        setText(
            versionInfo->getLegalCopyright() + QLatin1String(", ") + versionInfo->getCompanyName());
        break;
    case 2:
        setText(QCoreApplication::translate("CopyrightLabel", "All Rights Reserved"));
        break;
    case 3:
        setText(QCoreApplication::translate("CopyrightLabel", "Version %1")
                    .arg(versionInfo->getVersionString()));
        break;
    case 4:
        setText(TsBaseDialog::siteName());
        break;
    default:
        m_step = -1;
        changeText();
        return;
    }
    QLabel::setAlignment(m_alignment);
}

// Hidden dialogs keep their labels; only a shown one needs the next text.
void CopyrightLabel::showEvent(QShowEvent *event)
{
    TextLabel::showEvent(event);
    if (m_timerId == 0)
        m_timerId = startTimer(INTERVAL_MS);
}

void CopyrightLabel::hideEvent(QHideEvent *event)
{
    TextLabel::hideEvent(event);
    if (m_timerId != 0) {
        killTimer(m_timerId);
        m_timerId = 0;
    }
}

void CopyrightLabel::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_timerId)
        changeText();
    else
        TextLabel::timerEvent(event);
}
