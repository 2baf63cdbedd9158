#pragma once

#include "KeyboardInputFilter.h"

#include <QDialog>
#include <QLocale>
#include <QList>
#include <QMap>
#include <QPair>
#include <QRect>

#include <map>
#include <memory>

class ChangeLanguageButton;
class CopyrightLabel;
class LanguageChangerInterface;
class LanguageSelectorExtension;
class QBoxLayout;
class QHBoxLayout;
class QLayout;
class QTimer;

// Base of every kiosk dialog: white background, shared font, inactivity
// timeout, optional change-language button with its language selector,
// optional copyright line, per-widget key filters, centring on the screen.
class TsBaseDialog : public QDialog
{
    Q_OBJECT
public:
    using LanguageList = QList<QPair<QString, QString>>;
    using LanguageMap = QMap<QString, QString>;

    // Delivered to a dialog with a positive timeout, it closes it as rejected.
    static constexpr int ABORT_TIMEOUT = 1123;

    // Customised window, dialog border, title bar, stays on top.
    static ::Qt::WindowFlags titledWindowFlags();
    // Customised window, dialog border, no title bar.
    static ::Qt::WindowFlags untitledWindowFlags();

    TsBaseDialog(QWidget *parent, int timeoutSeconds, bool showLanguageButton, bool showCopyright,
        int margin, ::Qt::WindowFlags flags);
    ~TsBaseDialog() override;

    void setMainLayout(QLayout *layout);

    // ms: 0 uses the default timeout, -1 (or anything below) never times out.
    void setTimeout(int ms);
    // The effective timeout in milliseconds.
    int timeout() const;
    using QObject::startTimer;
    void startTimer();
    void stopTimer();
    bool isTimerRunning() const;
    // Milliseconds until the running timeout ends the dialog; -1 when none runs.
    int remainingTimeout() const;
    // Restarts the running timeout, as any touch of the patron does.
    void restartTimerOnActivity();

    void setChildDialogY(int y);
    void setToForeground();

    void blockInputMethodEntry() { m_inputMethodBlocked = true; }
    void unblockInputMethodEntry() { m_inputMethodBlocked = false; }
    // The dialog owns the filter; null lifts the filtering of watched.
    void installKeyboardInputFilter(QObject *watched, std::unique_ptr<KeyboardInputFilter> filter);
    bool keyIsAllowed(QObject *watched, int key) const;

    ChangeLanguageButton *changeLanguageButton() const { return m_changeLanguageButton; }
    CopyrightLabel *copyrightLabel() const { return m_copyrightLabel; }
    LanguageSelectorExtension *extension() const { return m_extension; }

    static void setDefaultTimeout(int ms);
    static int defaultTimeout();
    static void setLanguageChanger(LanguageChangerInterface *changer);
    static LanguageChangerInterface *languageChanger();
    static void setChangeLanguageButtonInterval(int ms);
    static int changeLanguageButtonInterval();
    static void setSiteName(const QString &name);
    static QString siteName();
    static void setLanguageCode(const QString &code);
    static QString languageCode();
    // Dates and numbers in the dialogs follow the language switched to, not
    // the system's locale.
    static void setDialogLocale(const QLocale &locale);
    static QLocale dialogLocale();
    static QLocale localeOfDialect(const QString &dialect);
    static void setLanguageList(const LanguageList &list);
    static LanguageList languageList();
    static void setLanguageMap(const LanguageMap &map);
    static LanguageMap languageMap();
    static void setDefaultFont(const QString &family, int pointSize);
    static QFont defaultFont();
    static void setDefaults();
    static bool setLanguageOverridesForDialect(
        const QString &dialect, const QString &languageName, const QString &closeText);

    // The screen area dialogs are placed in; an empty rectangle (the default)
    // means the available area of the primary screen.
    static void setDesktopGeometry(const QRect &geometry);
    static QRect desktopGeometry();
    // Sizes a window to its size hint, as far as the desktop holds it. Unlike
    // QWidget::adjustSize(), which stops at two thirds of the screen and so
    // squeezes a dialog to its minimum on a scaled screen.
    static void fitToDesktop(QWidget *window);
    // Folder whose images/ holds the replaceable pictures; empty means the
    // executable's folder.
    static void setApplicationFolder(const QString &folder);
    static QString applicationFolder();

public slots:
    int exec() override;
    virtual void redrawText() = 0;
    virtual void languageChange(const QString &code);
    virtual void positionDialog();
    void toggleExtension();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // A refused key or input-method entry; tests listen here.
    virtual void beep();
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    ChangeLanguageButton *m_changeLanguageButton = nullptr;
    CopyrightLabel *m_copyrightLabel = nullptr;
    QBoxLayout *m_outerLayout = nullptr;
    int m_childDialogY = 0;
    int m_timeout = 0;
    bool m_childDialogYSet = false;
    std::map<QObject *, std::unique_ptr<KeyboardInputFilter>> m_inputFilters;
    bool m_inputMethodBlocked = false;

    // Qt 6 has no dialog extension: the selector is a panel at the dialog's right.
    QHBoxLayout *m_frameLayout = nullptr;
    LanguageSelectorExtension *m_extension = nullptr;
    QTimer *m_inactivityTimer;
};
