#pragma once

#include "KoaMainWindowInterface.h"

#include <QWidget>

#include <functional>

class CopyrightLabel;
class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;

// The client's only permanent window: the logo, the stop button, the link to
// the about box and the rotating copyright line. Closing it leaves the client
// running; only stopClient() ends it.
class KoaMainWindow : public QWidget, public KoaMainWindowInterface
{
    Q_OBJECT
public:
    explicit KoaMainWindow(bool dedicated);

    void setController(KoaMainWindowControllerInterface *controller) override;
    bool isDedicated() const { return m_dedicated; }

    QPushButton *stopButton() const { return m_stopButton; }
    QPushButton *aboutLink() const { return m_aboutLink; }
    // The File menu (About, Quit), relabelled with the window's other texts.
    QMenuBar *addFileMenu();
    // File > Quit once addFileMenu() made it; the tray menu offers it too.
    QAction *quitAction() const { return m_quitAction; }
    // While the client waits for the Print Service, the line says why printing
    // does not work yet; the source gives it in plain text, empty when there
    // is nothing to wait for. Asked again on refresh and on a language change.
    void setWaitingSource(std::function<QString()> source);
    void refreshWaitingText();
    QLabel *waitingLabel() const { return m_waitingLabel; }

    static const char *const Caption;

public slots:
    void showAboutInfo();
    bool stopClient() override;
    void redrawText();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void centreOnDesktop();
    void setWaitingText(const QString &text);
    void fitWaitingLine();

    QPushButton *m_stopButton = nullptr;
    CopyrightLabel *m_copyrightLabel = nullptr;
    QLabel *m_waitingLabel = nullptr;
    std::function<QString()> m_waitingSource;
    KoaMainWindowControllerInterface *m_controller = nullptr;
    QPushButton *m_aboutLink = nullptr;
    QMenuBar *m_menuBar = nullptr;
    QMenu *m_fileMenu = nullptr;
    QAction *m_aboutAction = nullptr;
    QAction *m_quitAction = nullptr;
    bool m_dedicated;
};

// The client's main window once start-up has built it, null before and after;
// the quit request goes through it.
extern KoaMainWindow *mainWindow;
