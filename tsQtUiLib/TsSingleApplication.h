#pragma once

#include <QApplication>
#include <QPointer>
#include <QWidget>

class TsSingleInstanceGuard;

// An application of which one instance runs per user session. A later start
// finds it running (isRunning) and may send it a message; a message brings the
// activation window to the front when initialize was asked to.
class TsSingleApplication : public QApplication
{
    Q_OBJECT

public:
    TsSingleApplication(const QString &applicationId, int &argc, char **argv);
    ~TsSingleApplication() override;

    QString id() const;
    [[nodiscard]] bool isRunning();
    // Registers this instance; false when another one already runs.
    bool initialize(bool activateOnMessage = true);
    bool sendMessage(const QString &message, int timeoutMillis = 5000);

    void setActivationWindow(QWidget *window, bool activateOnMessage = true);
    QWidget *activationWindow() const { return m_activationWindow; }

public slots:
    void activateMainWidget();

signals:
    void messageReceived(const QString &message);

private:
    QString m_id;
    TsSingleInstanceGuard *m_guard = nullptr;
    QPointer<QWidget> m_activationWindow;
    bool m_activateOnMessage = false;
};
