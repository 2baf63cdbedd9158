#include "StalloSessionRegistry.h"

#include "HexEncrypt.h"
#include "Trace.h"
#include "TraceMask.h"
#include "TsHttpInterface.h"

#include <QBuffer>
#include <QSettings>
#include <QUrl>

const QString StalloSessionRegistry::ClassName = QStringLiteral("StalloSessionRegistry");

const QString StalloSessionRegistry::IN_SESSION_VAL = QStringLiteral("In Session");
const QString StalloSessionRegistry::PAGES_PRINTED_VAL
    = QStringLiteral("Pages Printed This Session");
const QString StalloSessionRegistry::USER_ID_VAL = QStringLiteral("Current User");
const QString StalloSessionRegistry::USER_PIN_VAL = QStringLiteral("Access Key");
const QString StalloSessionRegistry::STALLO_PC_DESCRIPTION = QStringLiteral("PC Description");
const QString StalloSessionRegistry::STALLO_LANGUAGE = QStringLiteral("Language");
const QString StalloSessionRegistry::STALLO_ENCRYPT_PIN = QStringLiteral("Encrypt PIN");

const QString StalloSessionRegistry::SettingsOrganization = QStringLiteral("Merrow Software");
const QString StalloSessionRegistry::SettingsApplication = QStringLiteral("Stallo");
const QString StalloSessionRegistry::DefaultHost = QStringLiteral("localhost");

const QString StalloSessionRegistry::USER_PIN_QUERY = QStringLiteral("patron_pin");
const QStringList StalloSessionRegistry::SECRET_QUERIES {USER_PIN_QUERY};

QString StalloSessionRegistry::traceable(const QString &query, const QString &answer)
{
    return SECRET_QUERIES.contains(query) && !answer.isEmpty() ? Tessaly::Core::TraceMask::Mask
                                                               : answer;
}

StalloSessionRegistry::StalloSessionRegistry(TsHttpInterface *http, UtilsLib::Observer *observer,
    int port, std::unique_ptr<QSettings> settings)
    : m_settings(settings ? std::move(settings)
                          : std::make_unique<QSettings>(
                              QSettings::UserScope, SettingsOrganization, SettingsApplication))
    , m_http(http)
    , m_port(port)
    , m_host(DefaultHost)
{
    if (observer)
        addObserver(observer);
    if (m_http) {
        m_http->setTimeout(RequestTimeout);
        m_http->setMaxBodySize(MaxResponseSize);
    }
}

StalloSessionRegistry::~StalloSessionRegistry() = default;

QString StalloSessionRegistry::userInputFromStalloWebService(const QString &name, bool retry)
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(m_host);
    url.setPort(m_port);
    url.setPath(QStringLiteral("/%1").arg(name));
    const QString request = url.toString();
    Trace::logf(this, ClassName, "userInputFromStalloWebService", Trace::Verbose,
        Trace::VerboseCode, "request string: %1", request);

    QByteArray data;
    QBuffer buffer(&data);
    const bool ok = m_http && m_http->get(request, &buffer);
    const qsizetype end = data.indexOf('\0');
    const QString response = QString::fromUtf8(data.left(end < 0 ? data.size() : end));
    if (ok) {
        Trace::logf(this, ClassName, "userInputFromStalloWebService", Trace::Verbose,
            Trace::VerboseCode, "response string: %1", traceable(name, response));
        return response;
    }
    if (retry) {
        Trace::logf(this, ClassName, "userInputFromStalloWebService", Trace::Verbose,
            Trace::VerboseCode, "request failed: response string: %1", traceable(name, response));
        return userInputFromStalloWebService(name, false);
    }
    return QString();
}

QString StalloSessionRegistry::getUserId()
{
    const QString id = UtilsLib::HexEncrypt::decryptData(
        userInputFromStalloWebService(QStringLiteral("patron_id"), true));
    if (!id.isEmpty())
        return id;
    return storedValue(USER_ID_VAL).toString();
}

QString StalloSessionRegistry::getUserPin()
{
    const QString pin
        = UtilsLib::HexEncrypt::decryptData(userInputFromStalloWebService(USER_PIN_QUERY, true));
    if (!pin.isEmpty())
        return pin;
    const QString stored = storedValue(USER_PIN_VAL).toString();
    return getEncryptPin() ? UtilsLib::HexEncrypt::decryptData(stored) : stored;
}

QString StalloSessionRegistry::getPcDescription(bool enabled)
{
    if (!enabled)
        return QString();
    const QString description
        = userInputFromStalloWebService(QStringLiteral("computer_description"), true);
    if (!description.isEmpty())
        return description;
    return storedValue(STALLO_PC_DESCRIPTION).toString();
}

QString StalloSessionRegistry::getLanguage()
{
    Trace trace(this, ClassName, "getLanguage");
    QString language = userInputFromStalloWebService(QStringLiteral("current_language_code"), true);
    if (language.isEmpty())
        language = storedValue(STALLO_LANGUAGE).toString();
    return mapLanguage(language);
}

QString StalloSessionRegistry::mapLanguage(const QString &language)
{
    if (language.startsWith(QLatin1String("es")))
        return QStringLiteral("es_us");
    if (language.startsWith(QLatin1String("en")))
        return QStringLiteral("en_us");
    if (language.startsWith(QLatin1String("fr")))
        return QStringLiteral("fr");
    return language;
}

bool StalloSessionRegistry::getInSession()
{
    if (!userInputFromStalloWebService(QStringLiteral("patron_id"), true).isEmpty())
        return true;
    return storedValue(IN_SESSION_VAL).toInt() != 0;
}

int StalloSessionRegistry::getPagesPrinted()
{
    return storedValue(PAGES_PRINTED_VAL).toInt();
}

void StalloSessionRegistry::incrementPagesPrinted(int pages)
{
    m_settings->setValue(PAGES_PRINTED_VAL, getPagesPrinted() + pages);
    m_settings->sync();
}

bool StalloSessionRegistry::getEncryptPin()
{
    return storedValue(STALLO_ENCRYPT_PIN).toBool();
}

QVariant StalloSessionRegistry::storedValue(const QString &name) const
{
    // The reservation product rewrites its settings at every session change;
    // a copy read earlier would name the previous patron.
    m_settings->sync();
    return m_settings->value(name);
}
