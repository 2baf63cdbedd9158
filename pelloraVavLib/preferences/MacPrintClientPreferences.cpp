#include "MacPrintClientPreferences.h"

#include "HexEncrypt.h"
#include "PrivateFile.h"
#include "Trace.h"
#include "XmlPreferences.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>

const QString MacPrintClientPreferences::ClassName = QStringLiteral("MacPrintClientPreferences");
const QString MacPrintClientPreferences::DEDICATED_MODE = QStringLiteral("Dedicated Mode");
const QString MacPrintClientPreferences::CONFIG_FILE = QStringLiteral("printClient.tsp");
const QString MacPrintClientPreferences::DEFAULT_STAFF_PASSWORD = QStringLiteral("marrowlintel");

namespace {
const QString ConfigStoreName = QStringLiteral("Mac Printer Connector");
} // namespace

MacPrintClientPreferences::MacPrintClientPreferences()
    : m_staffPassword(DEFAULT_STAFF_PASSWORD)
{ }

MacPrintClientPreferences::~MacPrintClientPreferences() = default;

void MacPrintClientPreferences::setConfigDir(const QString &directory)
{
    m_configDir = directory;
}

QString MacPrintClientPreferences::getConfigFileName() const
{
    const QString directory
        = m_configDir.isEmpty() ? QCoreApplication::applicationDirPath() : m_configDir;
    return QFileInfo(QStringLiteral("%1/%2").arg(directory, CONFIG_FILE)).absoluteFilePath();
}

bool MacPrintClientPreferences::getDedicatedMode() const
{
    Trace trace(this, ClassName, "getDedicatedMode");
    // Read afresh every time: the printer connector and the site may change
    // the file while the client runs.
    const QString path = getConfigFileName();
    UtilsLib::XmlPreferences config(ConfigStoreName);
    int unsaid = 1;
    if (!config.load(path, false)) {
        Trace::logf(this, ClassName, "getDedicatedMode", Trace::Warning, Trace::WarningCode,
            "Failed to load config file at %1", path);
        // A dedicated machine keeps the staff password in every user's home,
        // so a file that is there but broken (an entry read before the break
        // still counts) does not turn it on; only a missing one does.
        const QFileInfo file(path);
        if (file.isFile() && file.isReadable())
            unsaid = 0;
    }
    const bool dedicated = config.getInt(DEDICATED_MODE, unsaid) != 0;
    Trace::logf(this, ClassName, "getDedicatedMode", Trace::Info, Trace::InfoCode,
        "dedicated mode = %1", dedicated ? 1 : 0);
    return dedicated;
}

void MacPrintClientPreferences::saveIfDedicated()
{
    Trace trace(this, ClassName, "saveIfDedicated");
    if (!getDedicatedMode())
        return;
    // The encoding only hides the password from a glance: the file and its
    // folder are the user's alone.
    if (!createDatDir())
        return;

    QString encoded = UtilsLib::HexEncrypt::encryptData(m_staffPassword);
    // A null string would be stored as "no string" rather than as an empty one.
    if (encoded.isNull())
        encoded = QLatin1String("");
    QByteArray data;
    QDataStream stream(&data, QIODevice::WriteOnly);
    stream << encoded;
    // Never into a file someone else could read: PrivateFile writes a new
    // one of the user's own, or nothing.
    if (stream.status() != QDataStream::Ok || !UtilsLib::PrivateFile::write(getDatFileName(), data))
        Trace::logf(this, ClassName, "saveIfDedicated", Trace::Warning, Trace::WarningCode,
            "The staff password could not be kept in %1", getDatFileName());
}

bool MacPrintClientPreferences::loadFromFile()
{
    Trace trace(this, ClassName, "loadFromFile");
    if (!QFileInfo(getDatDirName()).isDir())
        return false;
    QFile file(getDatFileName());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QDataStream stream(&file);
    QString encoded;
    stream >> encoded;
    // A file cut short must not yield a password that was never stored.
    if (stream.status() != QDataStream::Ok)
        return false;
    m_staffPassword = UtilsLib::HexEncrypt::decryptData(encoded);
    return true;
}

QString MacPrintClientPreferences::getDatDirName() const
{
    return QStringLiteral("%1/.pelloraVav").arg(QDir::homePath());
}

QString MacPrintClientPreferences::getDatFileName() const
{
    return getDatDirName() + QLatin1String("/session.dat");
}

bool MacPrintClientPreferences::createDatDir() const
{
    // Only the last level: a missing home folder is not made here.
    return QFileInfo(QDir::homePath()).isDir()
        && UtilsLib::PrivateFile::makeDirectory(getDatDirName());
}

bool MacPrintClientPreferences::isTemporaryClientAllowed() const
{
    return false;
}

QString MacPrintClientPreferences::getStaffPassword() const
{
    return m_staffPassword;
}

void MacPrintClientPreferences::setStaffPassword(const QString &password)
{
    m_staffPassword = password;
}

bool MacPrintClientPreferences::getStalloIntegration() const
{
    return m_stalloIntegration;
}

void MacPrintClientPreferences::setStalloIntegration(bool enabled)
{
    m_stalloIntegration = enabled;
}

bool MacPrintClientPreferences::getStalloId() const
{
    return m_stalloId;
}

void MacPrintClientPreferences::setStalloId(bool enabled)
{
    m_stalloId = enabled;
}

bool MacPrintClientPreferences::getMaskUserId() const
{
    return m_maskUserId;
}

void MacPrintClientPreferences::setMaskUserId(bool masked)
{
    m_maskUserId = masked;
}

// The settings below are fixed on this platform; their setters are ignored.

int MacPrintClientPreferences::getStalloPageLimit() const
{
    return 0;
}

void MacPrintClientPreferences::setStalloPageLimit(int) { }

bool MacPrintClientPreferences::getStalloAllowOverride() const
{
    return false;
}

void MacPrintClientPreferences::setStalloAllowOverride(bool) { }

bool MacPrintClientPreferences::getStalloUseDescription() const
{
    return false;
}

void MacPrintClientPreferences::setStalloUseDescription(bool) { }

QString MacPrintClientPreferences::getThirdPartyUserInfoPath() const
{
    return QString();
}

void MacPrintClientPreferences::setThirdPartyUserInfoPath(const QString &) { }

bool MacPrintClientPreferences::getStalloUseLanguage() const
{
    return false;
}

void MacPrintClientPreferences::setStalloUseLanguage(bool) { }

int MacPrintClientPreferences::getStalloUserCredentialsPort() const
{
    return 0;
}

void MacPrintClientPreferences::setStalloUserCredentialsPort(int) { }
