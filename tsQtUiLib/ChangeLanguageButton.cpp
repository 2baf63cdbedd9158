#include "ChangeLanguageButton.h"

#include <QFontMetrics>
#include <QTimerEvent>

ChangeLanguageButton::ChangeLanguageButton(
    QWidget *parent, const LanguageList &languages, unsigned long intervalMs)
    : QPushButton(parent)
    , m_languages(languages)
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
    setFocusPolicy(Qt::NoFocus);
    setDefault(false);
    setAutoDefault(false);
    showCurrent();
    m_timerId = startTimer(int(qMin<unsigned long>(intervalMs, INT_MAX)));
}

void ChangeLanguageButton::showCurrent()
{
    if (m_languages.isEmpty())
        return;
    const auto &entry = m_languages.at(m_current);
    setText(m_toggleMode ? entry.second : entry.first);
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

void ChangeLanguageButton::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_timerId)
        cycle();
    else
        QPushButton::timerEvent(event);
}
