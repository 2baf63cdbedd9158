#include "ChangeLanguageButton.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QTimerEvent>

ChangeLanguageButton::ChangeLanguageButton(
    QWidget *parent, const LanguageList &languages, unsigned long intervalMs)
    : QPushButton(parent)
    , m_languages(languages)
    , m_intervalMs(int(qMin<unsigned long>(intervalMs, INT_MAX)))
{
    setObjectName(QStringLiteral("ChangeLanguageButton"));
    // Wide enough for every text it will show, so it keeps its size while cycling.
    const QFontMetrics metrics(font());
    int width = minimumWidth();
    for (const auto &language : std::as_const(m_languages)) {
        width = qMax(width, metrics.horizontalAdvance(language.first) + 24);
        width = qMax(width, metrics.horizontalAdvance(language.second) + 24);
    }
    setMinimumWidth(width);
    // Reached by Tab for patrons without a pointer, but a tap must not take the
    // focus away from the field the patron is typing in.
    setFocusPolicy(Qt::TabFocus);
    setDefault(false);
    setAutoDefault(false);
    showCurrent();
}

void ChangeLanguageButton::showCurrent()
{
    if (m_languages.isEmpty())
        return;
    const auto &entry = m_languages.at(m_current);
    setText(m_toggleMode ? entry.second : entry.first);
    // The cycling names say nothing to a screen reader: it reads what the button does.
    setAccessibleName(m_toggleMode
            ? QCoreApplication::translate("Language Preferences", "Close Language Options")
            : QCoreApplication::translate("Language Preferences", "Change Language"));
}

void ChangeLanguageButton::cycle()
{
    if (m_languages.isEmpty())
        return;
    m_current = (m_current + 1) % m_languages.size();
    showCurrent();
}

void ChangeLanguageButton::setToggleMode(bool on)
{
    m_toggleMode = on;
    cycle();
}

// Every long-lived dialog owns a button; hidden ones must not wake the
// process up every few seconds while the client waits for the next job.
void ChangeLanguageButton::showEvent(QShowEvent *event)
{
    QPushButton::showEvent(event);
    if (m_timerId == 0)
        m_timerId = startTimer(m_intervalMs);
}

void ChangeLanguageButton::hideEvent(QHideEvent *event)
{
    QPushButton::hideEvent(event);
    if (m_timerId != 0) {
        killTimer(m_timerId);
        m_timerId = 0;
    }
}

void ChangeLanguageButton::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_timerId)
        cycle();
    else
        QPushButton::timerEvent(event);
}

void ChangeLanguageButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        showCurrent();
    QPushButton::changeEvent(event);
}
