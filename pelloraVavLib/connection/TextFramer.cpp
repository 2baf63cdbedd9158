#include "TextFramer.h"

bool TextFramer::append(const QByteArray &data, QQueue<QString> *texts)
{
    // The tail kept from earlier reads holds no NUL: only the new bytes are
    // searched, so a long text costs one pass, not one per read.
    qsizetype searchFrom = m_pending.size();
    m_pending.append(data);
    // NUL never occurs inside a UTF-8 sequence, so splitting the bytes before
    // decoding cannot cut a character in two.
    qsizetype start = 0;
    qsizetype end;
    while ((end = m_pending.indexOf('\0', searchFrom)) >= 0) {
        texts->enqueue(QString::fromUtf8(m_pending.constData() + start, end - start));
        start = end + 1;
        searchFrom = start;
    }
    m_pending.remove(0, start);

    // No real text comes near the bound; a sender that never ends its text
    // must not make the client hold it all.
    if (m_pending.size() <= m_maxTextBytes)
        return true;
    m_pending.clear();
    m_pending.squeeze();
    return false;
}

QString TextFramer::takePending()
{
    const QString text = QString::fromUtf8(m_pending);
    m_pending.clear();
    return text;
}

void TextFramer::clear()
{
    m_pending.clear();
}
