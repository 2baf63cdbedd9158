#pragma once

#include <QList>
#include <QPair>
#include <QPushButton>

// The change-language button: its text cycles through the language names, each
// in its own language, so that any patron recognises it; while the selector is
// open it cycles the texts that close the selector instead.
class ChangeLanguageButton : public QPushButton
{
    Q_OBJECT
public:
    // Pairs of (language name, close-language-options text).
    using LanguageList = QList<QPair<QString, QString>>;

    ChangeLanguageButton(QWidget *parent, const LanguageList &languages, unsigned long intervalMs);

    void cycle();
    void setToggleMode(bool on);
    bool toggleMode() const { return m_toggleMode; }
    // The cycling timer runs only while the button is shown; 0 otherwise.
    int timerId() const { return m_timerId; }

protected:
    void changeEvent(QEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void showCurrent();

    LanguageList m_languages;
    int m_current = 0;
    bool m_toggleMode = false;
    int m_intervalMs = 0;
    int m_timerId = 0;
};
