#include "HealthCheck.h"

#include "HexEncrypt.h"
#include "HttpTransport.h"
#include "MacPrinterConnector.h"
#include "MacPrintersManager.h"
#include "PrintClientMessager.h"
#include "SiteTls.h"
#include "TranslationFileManager.h"
#include "TsSingleInstanceGuard.h"
#include "XmlPreferences.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHostInfo>
#include <QJsonArray>
#include <QProcess>
#include <QSslCertificate>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {
// No single step may take the whole run: a hanging lookup still leaves time
// to say that the port was not tried.
constexpr int StepLimitMs = 5000;
// Debian's CUPS when cups-files.conf names no SystemGroup.
const char *const DefaultSystemGroups = "lpadmin sys root";

QString plain(const QString &outside, int limit = 200)
{
    // Texts from the wire or a file: one line, bounded.
    QString text = outside.left(limit);
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return text;
}

int portEntry(const UtilsLib::XmlPreferences &config, const QString &name, int defaultPort)
{
    bool ok = false;
    const int port = config.get(name, QString()).trimmed().toInt(&ok);
    return ok && port > 0 && port <= 65535 ? port : defaultPort;
}

// Whether the lock file is held: /proc/locks names its device and inode.
// Reading it leaves the lock alone, where trying it would take it for a moment.
qint64 lockHolder(const QString &lockFile)
{
    struct stat info
    { };
    if (::stat(QFile::encodeName(lockFile).constData(), &info) != 0)
        return 0;
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly))
        return 0;
    const QString node = QStringLiteral("%1:%2:%3")
                             .arg(major(info.st_dev), 2, 16, QLatin1Char('0'))
                             .arg(minor(info.st_dev), 2, 16, QLatin1Char('0'))
                             .arg(quint64(info.st_ino));
    for (const QByteArray &line : locks.readAll().split('\n')) {
        const QStringList fields
            = QString::fromLatin1(line).split(QLatin1Char(' '), ::Qt::SkipEmptyParts);
        if (fields.size() < 6 || fields.at(1) == QLatin1String("->"))
            continue;
        if (fields.at(5).compare(node, ::Qt::CaseInsensitive) == 0)
            return fields.at(4).toLongLong();
    }
    return 0;
}
// How the desktop runs the client: in its user unit's cgroup, or as the
// launcher's child (the launcher restarts it after a crash).
QString supervisionOf(qint64 pid)
{
    QFile cgroup(QStringLiteral("/proc/%1/cgroup").arg(pid));
    if (cgroup.open(QIODevice::ReadOnly) && cgroup.read(4096).contains("/pellora-vav.service"))
        return QStringLiteral("under the user unit pellora-vav.service");
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        // The parent's pid follows the name in parentheses, which may hold anything.
        const QByteArray text = stat.read(4096);
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        QFile cmdline(QStringLiteral("/proc/%1/cmdline")
                          .arg(fields.size() > 1 ? fields.at(1).toLongLong() : 0));
        if (cmdline.open(QIODevice::ReadOnly)) {
            const QList<QByteArray> arguments = cmdline.read(4096).split('\0');
            for (const QByteArray &argument : arguments.mid(0, 2)) {
                if (argument.endsWith("/bin/pelloraVav"))
                    return QStringLiteral("under the launcher %1")
                        .arg(QString::fromLocal8Bit(argument));
            }
        }
    }
    return QStringLiteral("started on its own");
}

// Never advise making a patron root: the first group that is no system one.
QString groupToJoin(const QStringList &groups)
{
    if (groups.contains(QLatin1String("lpadmin")))
        return QStringLiteral("lpadmin");
    for (const QString &group : groups) {
        if (group != QLatin1String("root") && group != QLatin1String("sys")
            && group != QLatin1String("wheel"))
            return group;
    }
    return QStringLiteral("lpadmin");
}
} // namespace

HealthCheck::HealthCheck(const QString &applicationId)
    : m_applicationId(applicationId)
    , m_cupsFilesConf(qEnvironmentVariable(
          "PELLORA_CUPS_FILES_CONF", QStringLiteral("/etc/cups/cups-files.conf")))
{ }

void HealthCheck::add(
    const QString &name, Verdict verdict, const QString &detail, const QString &advice)
{
    m_results.append(Result {name, verdict, detail, verdict == Ok ? QString() : advice});
}

int HealthCheck::networkRemainingMs() const
{
    return int(qMax<qint64>(0, m_deadline.remainingTime() - LocalReserveMs));
}

QList<HealthCheck::Result> HealthCheck::run()
{
    m_results.clear();
    m_deadline = QDeadlineTimer(TotalMs);
    if (checkSiteFile()) {
        checkNetwork();
    } else {
        for (const char *name : {"name", "port", "scripts"})
            add(QString::fromLatin1(name), Fail,
                QStringLiteral("not tried: no Print Service address"),
                QStringLiteral("mend the site file first"));
    }
    checkCups();
    checkLocal();
    return m_results;
}

bool HealthCheck::checkSiteFile()
{
    const QString name = QStringLiteral("site file");
    MacPrinterConnector locator;
    const QString path = locator.configFilePath();
    UtilsLib::XmlPreferences config(QStringLiteral("Mac Printer Connector"));
    const bool found = QFileInfo::exists(path);
    const bool parsed = found && config.load(path, false);
    QString address = config.get(MacPrinterConnector::PRINT_SERVICE_ADDRESS, QString()).trimmed();
    QString from = path;
    // The client falls back on the address a patron entered, and so does the check.
    if (address.isEmpty()) {
        UtilsLib::XmlPreferences user(config.name());
        const QString userPath = MacPrinterConnector::userConfigFilePath();
        if (user.load(userPath, false)) {
            address = user.get(MacPrinterConnector::PRINT_SERVICE_ADDRESS, QString()).trimmed();
            from = userPath;
        }
    }
    if (!found && address.isEmpty()) {
        add(name, Fail, QStringLiteral("%1 does not exist").arg(path),
            QStringLiteral("install the package or put the site's printClient.tsp there"));
        return false;
    }
    if (found && !parsed) {
        add(name, Fail, QStringLiteral("%1 cannot be read or parsed").arg(path),
            QStringLiteral("make it readable by every user and valid XML"));
        return false;
    }
    if (address.isEmpty()) {
        add(name, Fail, QStringLiteral("%1 names no Print Service Address").arg(path),
            QStringLiteral("set the address (dpkg-reconfigure pellora-vav)"));
        return false;
    }
    m_address = plain(address);
    m_tls = config.getInt(MacPrinterConnector::PRINT_SERVICE_TLS, 0) != 0;
    const SiteTls defaults;
    m_tlsPort = portEntry(config, MacPrinterConnector::PRINT_SERVICE_TLS_PORT, defaults.tlsPort);
    m_httpsPort
        = portEntry(config, MacPrinterConnector::PRINT_SERVICE_HTTPS_PORT, defaults.httpsPort);
    m_caFile = config.get(MacPrinterConnector::PRINT_SERVICE_CA_FILE, QString()).trimmed();
    const QString tls = m_tls
        ? QStringLiteral("TLS on, ports %1 and %2, CA %3")
              .arg(m_tlsPort)
              .arg(m_httpsPort)
              .arg(m_caFile.isEmpty() ? QStringLiteral("the system's store") : plain(m_caFile))
        : QStringLiteral("TLS off");
    add(name, Ok, QStringLiteral("%1: Print Service at %2, %3").arg(from, m_address, tls));
    return true;
}

void HealthCheck::checkNetwork()
{
    // The name, resolved under the check's own deadline.
    QHostAddress address;
    QString lookupError;
    if (!address.setAddress(m_address)) {
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        bool answered = false;
        const int id = QHostInfo::lookupHost(m_address, &loop, [&](const QHostInfo &info) {
            answered = true;
            if (info.error() != QHostInfo::NoError || info.addresses().isEmpty())
                lookupError = plain(info.errorString());
            else
                address = info.addresses().constFirst();
            loop.quit();
        });
        timer.start(qMin(StepLimitMs, networkRemainingMs()));
        if (!answered)
            loop.exec();
        if (!answered) {
            QHostInfo::abortHostLookup(id);
            lookupError = QStringLiteral("no answer within %1 s").arg(StepLimitMs / 1000);
        }
    }
    if (address.isNull()) {
        add(QStringLiteral("name"), Fail,
            QStringLiteral("%1 does not resolve: %2").arg(m_address, lookupError),
            QStringLiteral("check the address in the site file and the machine's DNS"));
        add(QStringLiteral("port"), Fail, QStringLiteral("not tried: the name does not resolve"),
            QStringLiteral("mend the name first"));
        add(QStringLiteral("scripts"), Fail, QStringLiteral("not tried: the name does not resolve"),
            QStringLiteral("mend the name first"));
        return;
    }
    add(QStringLiteral("name"), Ok, QStringLiteral("%1 is %2").arg(m_address, address.toString()));

    // The message port: connect (and with TLS shake hands), send nothing.
    const int port = m_tls ? m_tlsPort : PrintClientMessager::PRINT_SERVICE_PORT;
    const QString where = QStringLiteral("%1:%2").arg(m_address).arg(port);
    const QString portName = QStringLiteral("port");
    const SiteTls site = siteTls();
    QSslConfiguration configuration;
    QString reason;
    if (m_tls && !site.configuration(&configuration, &reason)) {
        add(portName, Fail, plain(reason, 400),
            QStringLiteral("install the site's CA file (dpkg-reconfigure pellora-vav)"));
        add(QStringLiteral("scripts"), Fail, QStringLiteral("not tried: no usable CA file"),
            QStringLiteral("mend the CA file first"));
        return;
    }
    QSslSocket socket;
    if (m_tls)
        socket.setSslConfiguration(configuration);
    socket.connectToHost(address, quint16(port));
    if (!socket.waitForConnected(qMin(StepLimitMs, networkRemainingMs()))) {
        add(portName, Fail,
            QStringLiteral("no connection to %1: %2").arg(where, plain(socket.errorString())),
            m_tls ? QStringLiteral("start the site's TLS terminator, or open the port to it")
                  : QStringLiteral("start the Print Service, or open the port to it"));
    } else if (!m_tls) {
        add(portName, Ok, QStringLiteral("%1 accepts a connection").arg(where));
    } else {
        socket.setPeerVerifyName(m_address);
        socket.startClientEncryption();
        const int wait = qMin(SiteTls::HandshakeTimeoutMs, networkRemainingMs());
        if (!socket.waitForEncrypted(wait)) {
            const QList<QSslError> errors = socket.sslHandshakeErrors();
            const QString why = !errors.isEmpty() ? site.describe(errors)
                : socket.state() == QAbstractSocket::ConnectedState
                ? site.describeHandshakeTimeout(port, wait)
                : site.describeNotTls(port);
            add(portName, Fail, plain(why, 400),
                QStringLiteral("give the terminator a certificate for %1 from the CA in the site "
                               "file, or put its issuer into the CA file")
                    .arg(m_address));
        } else {
            const QSslCertificate certificate = socket.peerCertificate();
            const QDateTime expiry = certificate.expiryDate();
            const qint64 days = QDateTime::currentDateTimeUtc().daysTo(expiry);
            const QString names = plain(
                certificate.subjectInfo(QSslCertificate::CommonName).join(QStringLiteral(", ")));
            const QString detail
                = QStringLiteral("%1: TLS verified, certificate for %2, expires %3 (in %4 days)")
                      .arg(where, names, expiry.toString(::Qt::ISODate))
                      .arg(days);
            if (days < ExpiryWarningDays)
                add(portName, Warning, detail,
                    QStringLiteral("renew the terminator's certificate before it expires"));
            else
                add(portName, Ok, detail);
        }
        socket.abort();
    }
    checkScripts();
    SiteTls::setCurrent(SiteTls());
}

// The site's TLS as the site file gives it, as the client would set it.
SiteTls HealthCheck::siteTls() const
{
    SiteTls site;
    site.enabled = m_tls;
    site.host = m_address;
    site.tlsPort = m_tlsPort;
    site.httpsPort = m_httpsPort;
    site.caFile = m_caFile;
    return site;
}

void HealthCheck::checkScripts()
{
    const QString name = QStringLiteral("scripts");
    const SiteTls site = siteTls();
    // The transport takes the site's TLS from here, as in the client.
    SiteTls::setCurrent(site);
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(m_address);
    url.setPort(MacPrintersManager::PRINTERS_PORT);
    url.setPath(QStringLiteral("/printers/"));
    const QString shown = m_tls
        ? QStringLiteral("https://%1:%2/printers/").arg(m_address).arg(m_httpsPort)
        : url.toString();
    HttpFetcher::Settings settings;
    settings.timeoutSeconds = 0;
    settings.deadlineMilliseconds = networkRemainingMs();
    settings.maxBodySize = MacPrintersManager::MAX_SCRIPTS_SIZE;
    settings.redirects = 0;
    HttpFetcher::Error error;
    QByteArray body;
    if (settings.deadlineMilliseconds <= 0) {
        add(name, Fail, QStringLiteral("not tried: the check's %1 s are spent").arg(TotalMs / 1000),
            QStringLiteral("mend the slow steps above first"));
        return;
    }
    if (HttpTransport::fetch(url.toString().toUtf8().constData(), &body, settings, &error) < 0) {
        const QString why = error.number == HttpFetcher::TlsFailed
            ? QString::fromStdString(error.detail)
            : QString::fromStdString(HttpFetcher::errorText(error));
        add(name, Fail, QStringLiteral("%1: %2").arg(shown, plain(why, 400)),
            error.number == HttpFetcher::TlsFailed
                ? QStringLiteral("mend the TLS terminator or the CA file, as for the port")
                : QStringLiteral("check that the Print Service runs and serves its printers"));
        return;
    }
    const QStringList lines
        = QString::fromUtf8(body).split(QLatin1Char('\n'), ::Qt::SkipEmptyParts);
    const QString install
        = lines.size() >= 2 ? UtilsLib::HexEncrypt::decryptData(lines.at(0)) : QString();
    const QString removal
        = lines.size() >= 2 ? UtilsLib::HexEncrypt::decryptData(lines.at(1)) : QString();
    if (install.trimmed().isEmpty() || removal.trimmed().isEmpty()) {
        add(name, Fail,
            QStringLiteral("%1: %2 bytes, not both scripts").arg(shown).arg(body.size()),
            QStringLiteral("check the printers configured on the Print Service"));
        return;
    }
    add(name, Ok,
        QStringLiteral("%1: install script %2 bytes, removal script %3 bytes (not run)")
            .arg(shown)
            .arg(install.toUtf8().size())
            .arg(removal.toUtf8().size()));
}

void HealthCheck::checkCups()
{
    QProcess lpstat;
    lpstat.start(QStringLiteral("lpstat"), {QStringLiteral("-r")});
    const int wait = int(qBound(qint64(500), m_deadline.remainingTime() / 2, qint64(2000)));
    const bool finished = lpstat.waitForStarted(wait) && lpstat.waitForFinished(wait);
    const QString answer = plain(QString::fromLocal8Bit(lpstat.readAllStandardOutput()).trimmed());
    if (!finished)
        lpstat.kill();
    if (finished && answer.contains(QLatin1String("is running"))
        && !answer.contains(QLatin1String("not running")))
        add(QStringLiteral("CUPS"), Ok, answer);
    else
        add(QStringLiteral("CUPS"), Fail,
            finished ? QStringLiteral("lpstat -r: %1").arg(answer)
                     : QStringLiteral("lpstat -r did not answer"),
            QStringLiteral("start the scheduler: systemctl start cups"));

    const QString rights = QStringLiteral("CUPS rights");
    if (::getuid() == 0) {
        add(rights, Ok, QStringLiteral("root may add queues"));
        return;
    }
    QFile file(m_cupsFilesConf);
    if (!file.open(QIODevice::ReadOnly)) {
        add(rights, Warning, QStringLiteral("unknown: %1 cannot be read").arg(m_cupsFilesConf),
            QStringLiteral("as root: grep SystemGroup %1, and add the patron to that group")
                .arg(m_cupsFilesConf));
        return;
    }
    QStringList groups = QString::fromLatin1(DefaultSystemGroups).split(QLatin1Char(' '));
    for (const QByteArray &line : file.read(64 * 1024).split('\n')) {
        const QStringList words
            = QString::fromUtf8(line).simplified().split(QLatin1Char(' '), ::Qt::SkipEmptyParts);
        if (words.size() >= 2 && words.constFirst() == QLatin1String("SystemGroup"))
            groups = words.mid(1);
    }
    QList<gid_t> own(::getgroups(0, nullptr));
    own.resize(qMax(0, ::getgroups(int(own.size()), own.data())));
    own.append(::getgid());
    QStringList member;
    for (const QString &group : groups) {
        const struct group *entry = ::getgrnam(group.toLocal8Bit().constData());
        if (entry && own.contains(entry->gr_gid))
            member << group;
    }
    if (!member.isEmpty())
        add(rights, Ok, QStringLiteral("the patron is in %1").arg(member.join(QLatin1Char(' '))));
    else
        add(rights, Fail,
            QStringLiteral("the patron is in none of the SystemGroup of %1: %2")
                .arg(m_cupsFilesConf, plain(groups.join(QLatin1Char(' ')))),
            QStringLiteral("add the patron to %1 (adduser NAME %1), then log in again")
                .arg(plain(groupToJoin(groups))));
}

void HealthCheck::checkLocal()
{
    const QString languages = TranslationFileManager::languagesRoot();
    const int count = int(QDir(languages).entryList({QStringLiteral("*.qm")}, QDir::Files).size());
    if (count > 0)
        add(QStringLiteral("translations"), Ok,
            QStringLiteral("%1 languages in %2").arg(count).arg(languages));
    else
        add(QStringLiteral("translations"), Warning,
            QStringLiteral("none in %1: the patron sees English only").arg(languages),
            QStringLiteral("reinstall the package"));

    const QString home = QDir::homePath() + QStringLiteral("/.pelloraVav");
    struct stat info
    { };
    const QString homeName = QStringLiteral("home folder");
    if (::lstat(QFile::encodeName(home).constData(), &info) != 0)
        add(homeName, Ok, QStringLiteral("%1 not made yet; the client makes it").arg(home));
    else if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid() || (info.st_mode & 07777) != 0700)
        add(homeName, Warning,
            QStringLiteral("%1: owner %2, mode %3")
                .arg(home)
                .arg(info.st_uid)
                .arg(info.st_mode & 07777, 4, 8, QLatin1Char('0')),
            QStringLiteral("chown the folder to the patron and chmod 700 it"));
    else
        add(homeName, Ok, QStringLiteral("%1 is the patron's own, mode 0700").arg(home));

    // The guard's name begins with the key's readable part: any session of
    // this user shows, this session's by its exact name.
    TsSingleInstanceGuard guard(TsSingleInstanceGuard::sessionKey(m_applicationId));
    const QString ownLock = guard.lockFilePath();
    const QFileInfo own(ownLock);
    const QString prefix = own.fileName().section(QLatin1Char('-'), 0, -2);
    QStringList running;
    for (const QFileInfo &lock :
        QDir(own.absolutePath()).entryInfoList({prefix + QStringLiteral("-*.lock")}, QDir::Files)) {
        if (const qint64 pid = lockHolder(lock.absoluteFilePath()))
            running << QStringLiteral("pid %1%2, %3")
                           .arg(pid)
                           .arg(lock.absoluteFilePath() == own.absoluteFilePath()
                                   ? QStringLiteral(", this session")
                                   : QString(),
                               supervisionOf(pid));
    }
    add(QStringLiteral("client"), Ok,
        running.isEmpty() ? QStringLiteral("not running")
                          : QStringLiteral("running (%1)").arg(running.join(QStringLiteral("; "))));
}

int HealthCheck::exitStatus(const QList<Result> &results)
{
    for (const Result &result : results) {
        if (result.verdict == Fail)
            return 1;
    }
    return 0;
}

QString HealthCheck::verdictText(Verdict verdict)
{
    switch (verdict) {
    case Ok:
        return QStringLiteral("ok");
    case Warning:
        return QStringLiteral("warning");
    case Fail:
        break;
    }
    return QStringLiteral("FAIL");
}

QString HealthCheck::toText(const QList<Result> &results)
{
    QString text;
    for (const Result &result : results) {
        text += QStringLiteral("%1 %2: %3")
                    .arg(verdictText(result.verdict), -7)
                    .arg(result.name, result.detail);
        if (!result.advice.isEmpty())
            text += QStringLiteral(" -- to do: ") + result.advice;
        text += QLatin1Char('\n');
    }
    return text;
}

QJsonObject HealthCheck::toJson(const QList<Result> &results)
{
    QJsonArray checks;
    for (const Result &result : results)
        checks.append(QJsonObject {{QStringLiteral("name"), result.name},
            {QStringLiteral("verdict"), verdictText(result.verdict)},
            {QStringLiteral("detail"), result.detail}, {QStringLiteral("advice"), result.advice}});
    return QJsonObject {{QStringLiteral("checks"), checks},
        {QStringLiteral("printingWorks"), exitStatus(results) == 0}};
}
