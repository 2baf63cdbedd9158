#pragma once

#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QQueue>
#include <QString>
#include <QStringList>

class QSocketNotifier;
class QTcpServer;
class QTcpSocket;
class QTimer;

// Speaks the Print Service's side of the client's two channels: NUL-framed
// texts on the message port, the printer scripts and override translations
// over HTTP. Every event is one line on standard output.
class PrintServiceSimulator : public QObject
{
    Q_OBJECT

public:
    struct Settings
    {
        QHostAddress listenAddress = QHostAddress::LocalHost;
        quint16 messagePort = 21326;
        quint16 httpPort = 30044;
        QString installScript;
        QString removalScript;
        QString languagesFolder;
        int failPrinterRequests = 0;
        int waitTimeoutMillis = 30000;
        bool showRawBytes = false;
        bool readStandardInput = true;
    };

    explicit PrintServiceSimulator(const Settings &settings, QObject *parent = nullptr);

    bool start(QString *error);
    // Queues the lines of a scenario; a failing scenario command ends the run.
    void addScenario(const QStringList &lines);

    static QString escape(const QByteArray &bytes);
    static QByteArray unescape(const QString &text);
    static QString expandTimeStamp(QString text);

signals:
    void finished(int status);

private:
    struct Command
    {
        QString line;
        bool fromScenario = false;
    };

    void print(const QString &line);
    void acceptMessageConnection();
    void readMessageBytes(QTcpSocket *socket);
    void acceptHttpConnection();
    void readHttpRequest(QTcpSocket *socket);
    void answerHttp(QTcpSocket *socket, const QByteArray &method, const QByteArray &path);
    void readStandardInput();

    void runCommands();
    void runQueuedCommands();
    // Returns false while the command waits for something.
    bool execute(const Command &command);
    bool fail(const Command &command, const QString &reason);
    bool waitTimedOut(const Command &command);
    QTcpSocket *currentClient() const;
    void finish(int status);

    Settings m_settings;
    QTcpServer *m_messageServer = nullptr;
    QTcpServer *m_httpServer = nullptr;
    QList<QTcpSocket *> m_clients;
    QStringList m_inbox;
    int m_printerRequests = 0;

    QQueue<Command> m_commands;
    bool m_waiting = false;
    QElapsedTimer m_waitClock;
    QTimer *m_wakeUp = nullptr;
    qint64 m_sleepUntil = -1;
    int m_timeoutMillis = 30000;
    bool m_finished = false;
    bool m_running = false;
    bool m_rerun = false;
    int m_scenarioLeft = 0;

    QSocketNotifier *m_stdinNotifier = nullptr;
    QByteArray m_stdinBuffer;
};
