#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// One instance per key. The first process to take the key holds a lock file
// and listens on a local socket next to it; later processes find the key
// taken and may send the holder a message. A lock left by a crashed holder is
// taken over, since the kernel releases the holder's file lock with it.
class TsSingleInstanceGuard : public QObject
{
    Q_OBJECT

public:
    // The lock and the socket live in directory, by default the user's
    // runtime folder (private to the user).
    explicit TsSingleInstanceGuard(
        const QString &key, const QString &directory = QString(), QObject *parent = nullptr);
    ~TsSingleInstanceGuard() override;

    // The key for one instance of applicationId per user and login session.
    static QString sessionKey(const QString &applicationId);

    QString key() const { return m_key; }
    QString lockFilePath() const;
    QString serverPath() const;

    // True when another instance holds the key; otherwise this one now does.
    [[nodiscard]] bool isRunning();
    // Takes the key and starts listening for messages; false when another
    // instance holds it.
    bool initialize();
    bool isListening() const;
    // Delivers message to the instance that holds the key.
    bool sendMessage(const QString &message, int timeoutMillis = 5000);

signals:
    void messageReceived(const QString &message);

private:
    void acceptConnections();
    void readMessage(QLocalSocket *socket);

    QString m_key;
    QString m_directory;
    QString m_baseName;
    int m_lockFd = -1;
    bool m_holdsKey = false;
    QLocalServer *m_server = nullptr;
};
