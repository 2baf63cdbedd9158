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
    // runtime folder when it is private to the user, otherwise ~/.pelloraVav
    // (made 0700).
    explicit TsSingleInstanceGuard(
        const QString &key, const QString &directory = QString(), QObject *parent = nullptr);
    ~TsSingleInstanceGuard() override;

    // The key for one instance of applicationId per user and login session.
    static QString sessionKey(const QString &applicationId);
    // The folder of the lock when none is given.
    static QString defaultDirectory();

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
    // $XDG_RUNTIME_DIR when it is the user's own and 0700, otherwise empty.
    static QString runtimeDirectory();
    void acceptConnections();
    void readMessage(QLocalSocket *socket);

    QString m_key;
    QString m_directory;
    QString m_baseName;
    int m_lockFd = -1;
    bool m_holdsKey = false;
    QLocalServer *m_server = nullptr;
};
