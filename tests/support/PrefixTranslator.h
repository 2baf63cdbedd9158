#pragma once

#include <QByteArray>
#include <QString>
#include <QTranslator>

// Prefixes every text of one context, as an installed translation would.
class PrefixTranslator : public QTranslator
{
public:
    PrefixTranslator(const char *context, const QString &prefix)
        : m_context(context)
        , m_prefix(prefix)
    { }
    bool isEmpty() const override { return false; }
    QString translate(
        const char *context, const char *source, const char * = nullptr, int = -1) const override
    {
        return qstrcmp(context, m_context) == 0 ? m_prefix + QString::fromUtf8(source) : QString();
    }

private:
    const char *m_context;
    QString m_prefix;
};
