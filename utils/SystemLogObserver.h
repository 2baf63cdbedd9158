#pragma once

#include "Observer.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace UtilsLib {

// The client's lines in the system log (the journal, or any syslog daemon):
// the Warning and Error trace events it is told of, and the events the
// program writes itself (start, stop, the Print Service lost and regained).
// Other trace levels never go there: they carry the texts of the wire, and
// with them user IDs, PINs and passwords.
//
// Each line is one RFC 3164 datagram on the log socket, sent without
// waiting: when the socket is missing or full the line is dropped, since a
// log must never hold up the patron's dialogs.
class SystemLogObserver : public Observer
{
public:
    enum Priority { Error = 3, Warning = 4, Notice = 5, Info = 6 };

    static const QString DEFAULT_SOCKET;
    static const QString SOCKET_VARIABLE;
    // Longest text of one line, in UTF-8 bytes; a longer one is cut.
    static constexpr int MAX_TEXT_BYTES = 1024;

    // An empty socket path means DEFAULT_SOCKET.
    explicit SystemLogObserver(const QString &identifier, const QString &socketPath = QString());
    ~SystemLogObserver() override;

    SystemLogObserver(const SystemLogObserver &) = delete;
    SystemLogObserver &operator=(const SystemLogObserver &) = delete;

    // The log socket the environment names (SOCKET_VARIABLE), or the default.
    static QString socketFromEnvironment();

    void notify(const ObservableEvent &event) override;
    // Warnings and errors only: no entry, exit or Info event is built for it.
    bool wantsSeverity(int severityCode) const override;
    // One line of the program's own; false when it was dropped.
    bool write(Priority priority, const QString &text);

    // Lines dropped since the start (socket missing, full, or refusing).
    int droppedLines() const { return m_dropped; }

    // The identifier as the line's tag: its letters and digits, the first
    // MAX_TAG_CHARS of them.
    static constexpr int MAX_TAG_CHARS = 32;
    static QByteArray tagOf(const QString &identifier);
    static QByteArray formatDatagram(Priority priority, const QByteArray &identifier, qint64 pid,
        const QDateTime &time, const QString &text);
    // Control characters written as \xHH, cut to MAX_TEXT_BYTES.
    static QByteArray sanitize(const QString &text);

private:
    QByteArray m_identifier;
    QByteArray m_socketPath;
    int m_socket = -1;
    int m_dropped = 0;
};

} // namespace UtilsLib
