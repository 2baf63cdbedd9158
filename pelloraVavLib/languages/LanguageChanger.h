#pragma once

#include "LanguageChangerInterface.h"
#include "Observable.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QHash>
#include <QString>

#include <memory>

class QTranslator;
class TsHttpInterface;

namespace UtilsLib {
class Observer;
}

// Switches the dialogs to a dialect: its default file from the language
// folder, then its override file from the Print Service.
class LanguageChanger : public LanguageChangerInterface, public UtilsLib::Observable
{
public:
    static const QString ClassName;

    enum Result { DefaultFailed = 1, OverridesFailed = 2, OverridesInstalled = 4 };
    // The patron waits under the wait cursor for the override file: a Print
    // Service that accepts but never answers must not hold the dialog longer.
    static constexpr int OverrideTimeout = 3000;

    LanguageChanger(std::unique_ptr<TsHttpInterface> http, const QString &overrideBaseUrl,
        UtilsLib::Observer *observer = nullptr);
    ~LanguageChanger() override;

    int changeLanguage(const QString &code) override;
    void setDownloadDeadline(QDeadlineTimer deadline) override;

    QString overrideBaseUrl() const { return m_overrideBaseUrl; }

private:
    bool fetchOverrides(const QString &url);

    std::unique_ptr<TsHttpInterface> m_http;
    QDeadlineTimer m_downloadDeadline {QDeadlineTimer::Forever};
    // What each url gave while a deadline holds; empty when it failed.
    QHash<QString, QByteArray> m_fetched;
    QString m_overrideBaseUrl;
    std::unique_ptr<QTranslator> m_defaultTranslator;
    std::unique_ptr<QTranslator> m_overrideTranslator;
    QByteArray m_defaultData;
    QByteArray m_overrideData;
};
