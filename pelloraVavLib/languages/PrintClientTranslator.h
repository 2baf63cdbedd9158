#pragma once

#include "Observable.h"
#include "PrintClientTranslatorInterface.h"

#include <QByteArray>
#include <QTranslator>

class PrinterConnectorInterface;

namespace UtilsLib {
class Observer;
}

// The locale of the site: its default translation from the language folder
// and its override translation from the Print Service's HTTP port.
class PrintClientTranslator : public PrintClientTranslatorInterface, public UtilsLib::Observable
{
public:
    static const QString ClassName;
    // Bounds the wait on a Print Service that accepts but does not answer.
    static constexpr int DownloadTimeout = 3000;

    explicit PrintClientTranslator(const QString &locale, UtilsLib::Observer *observer = nullptr);
    ~PrintClientTranslator() override;

    void setPrinterConnector(PrinterConnectorInterface *connector) { m_connector = connector; }

    void installDefaultTranslations() override;
    void installOverrideTranslations(int httpPort) override;
    QString getLocale() override;
    void setLocale(const QString &locale, int httpPort) override;
    void installSupportedLanguageDialects(const QString &dialects) override;
    void removeOldTranslators() override;
    void setDownloadDeadline(QDeadlineTimer deadline) override { m_downloadDeadline = deadline; }

    bool downloadOverrideTranslations(const QString &address, int httpPort) const;

private:
    PrinterConnectorInterface *m_connector = nullptr;
    UtilsLib::Observer *m_observer;
    QString m_locale;
    QTranslator m_defaultTranslator;
    QTranslator m_overrideTranslator;
    mutable QByteArray m_overrideData;
    QDeadlineTimer m_downloadDeadline {QDeadlineTimer::Forever};
};
