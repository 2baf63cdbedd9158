#pragma once

#include "Observable.h"
#include "StalloSessionInfo.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

class TsHttpInterface;

namespace UtilsLib {
class Observer;
}

// Asks the reservation product's local web service about the session in
// progress and falls back to the values the product keeps in its user
// settings when the service does not answer.
class StalloSessionRegistry : public StalloSessionInfo, public UtilsLib::Observable
{
public:
    static const QString ClassName;

    static const QString IN_SESSION_VAL;
    static const QString PAGES_PRINTED_VAL;
    static const QString USER_ID_VAL;
    static const QString USER_PIN_VAL;
    static const QString STALLO_PC_DESCRIPTION;
    static const QString STALLO_LANGUAGE;
    static const QString STALLO_ENCRYPT_PIN;

    static const QString SettingsOrganization;
    static const QString SettingsApplication;
    static const QString DefaultHost;
    static const QString USER_PIN_QUERY;
    // Queries whose answers no trace may show.
    static const QStringList SECRET_QUERIES;
    static constexpr int DefaultPort = 4567;
    static constexpr int RequestTimeout = 5000;
    // Its answers are a name, a number or a language code.
    static constexpr qint64 MaxResponseSize = 64 * 1024;

    // Without settings it opens the product's user settings.
    StalloSessionRegistry(TsHttpInterface *http, UtilsLib::Observer *observer, int port,
        std::unique_ptr<QSettings> settings = nullptr);
    ~StalloSessionRegistry() override;

    int getPagesPrinted() override;
    bool getInSession() override;
    QString getUserId() override;
    QString getUserPin() override;
    QString getPcDescription(bool enabled) override;
    void incrementPagesPrinted(int pages) override;
    virtual QString getLanguage();
    virtual bool getEncryptPin();

    QString userInputFromStalloWebService(const QString &name, bool retry);

    void setHost(const QString &host) { m_host = host; }
    QString host() const { return m_host; }
    int port() const { return m_port; }
    QSettings *settings() const { return m_settings.get(); }

    static QString mapLanguage(const QString &language);

private:
    static QString traceable(const QString &query, const QString &answer);
    QVariant storedValue(const QString &name) const;

    std::unique_ptr<QSettings> m_settings;
    TsHttpInterface *m_http;
    int m_port;
    QString m_host;
};
