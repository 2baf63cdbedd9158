#include "CopyrightLabel.h"

#include "TsBaseDialog.h"
#include "VersionInfoInterface.h"

#include <QCoreApplication>
#include <QTimerEvent>

CopyrightLabel::CopyrightLabel(QWidget *parent)
    : QLabel(parent)
{
    setObjectName(QStringLiteral("CopyrightLabel"));
    QFont labelFont = parent ? parent->font() : font();
    labelFont.setPointSize(10);
    setFont(labelFont);
    setFixedHeight(30);
    setWordWrap(true);
    changeText();
    m_timerId = startTimer(10000);
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

void CopyrightLabel::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_timerId)
        changeText();
    else
        QLabel::timerEvent(event);
}
