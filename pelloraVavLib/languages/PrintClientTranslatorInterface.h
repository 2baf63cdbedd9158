#pragma once

#include <QDeadlineTimer>
#include <QString>

// The client's locale and the translations that belong to it.
class PrintClientTranslatorInterface
{
public:
    virtual ~PrintClientTranslatorInterface() = default;
    virtual void installDefaultTranslations() = 0;
    virtual void installOverrideTranslations(int httpPort) = 0;
    virtual QString getLocale() = 0;
    virtual void setLocale(const QString &locale, int httpPort) = 0;
    virtual void installSupportedLanguageDialects(const QString &dialects) = 0;
    virtual void removeOldTranslators() = 0;
    // Bounds the override downloads that follow by this deadline; one that
    // never expires lifts the bound.
    virtual void setDownloadDeadline(QDeadlineTimer deadline) { Q_UNUSED(deadline) }
};
