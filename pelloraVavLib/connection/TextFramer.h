#pragma once

#include <QByteArray>
#include <QQueue>
#include <QString>

// Splits the bytes of a connection into its NUL-terminated UTF-8 texts, read
// by read, holding back the tail of a text whose NUL has not come yet.
class TextFramer
{
public:
    explicit TextFramer(qsizetype maxTextBytes)
        : m_maxTextBytes(maxTextBytes)
    { }

    // Queues every text the bytes complete. False, with the tail dropped, when
    // what is left unterminated exceeds the bound.
    bool append(const QByteArray &data, QQueue<QString> *texts);
    // The unterminated tail as one text; nothing is held afterwards.
    QString takePending();
    void clear();

    qsizetype pendingSize() const { return m_pending.size(); }
    qsizetype maxTextBytes() const { return m_maxTextBytes; }

private:
    QByteArray m_pending;
    qsizetype m_maxTextBytes;
};
