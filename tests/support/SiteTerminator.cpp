#include "SiteTerminator.h"

#include <QFile>
#include <QStandardPaths>

namespace {
const QString ConfigurationFile
    = QStringLiteral(PELLORA_SOURCE_DIR "/docs/stunnel-print-service.conf");
} // namespace

bool haveTerminatorTools()
{
    return !QStandardPaths::findExecutable(QStringLiteral("stunnel4")).isEmpty()
        && !QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty();
}

QByteArray siteTerminatorConfiguration(const QString &folder, const QString &certificate,
    const QString &key, const TerminatorPorts &ports, QString *why)
{
    QFile file(ConfigurationFile);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = ConfigurationFile + QStringLiteral(": ") + file.errorString();
        return {};
    }
    QString text = QString::fromUtf8(file.readAll());
    // Each line once, as docs/administration.md shows it: a changed file fails here
    // rather than run something else than sites do.
    const QList<QPair<QString, QString>> replacements {
        {QStringLiteral("cert = /etc/stunnel/print-service.crt"),
            QStringLiteral("cert = ") + certificate},
        {QStringLiteral("key = /etc/stunnel/print-service.key"), QStringLiteral("key = ") + key},
        {QStringLiteral("pid = /run/stunnel4/print-service.pid"),
            QStringLiteral("pid = %1/stunnel.pid").arg(folder)},
        {QStringLiteral("foreground = no"), QStringLiteral("foreground = yes")},
        {QStringLiteral("accept = 21327"), QStringLiteral("accept = 127.0.0.1:%1").arg(ports.tls)},
        {QStringLiteral("connect = 127.0.0.1:21326"),
            QStringLiteral("connect = 127.0.0.1:%1").arg(ports.messages)},
        {QStringLiteral("accept = 30045"),
            QStringLiteral("accept = 127.0.0.1:%1").arg(ports.https)},
        {QStringLiteral("connect = 127.0.0.1:30044"),
            QStringLiteral("connect = 127.0.0.1:%1").arg(ports.http)},
    };
    QStringList lines = text.split(QLatin1Char('\n'));
    for (const auto &[from, to] : replacements) {
        if (lines.count(from) != 1) {
            *why = QStringLiteral("%1 has no line \"%2\"").arg(ConfigurationFile, from);
            return {};
        }
        lines[lines.indexOf(from)] = to;
    }
    return lines.join(QLatin1Char('\n')).toUtf8();
}

std::unique_ptr<Child> startSiteTerminator(const QString &folder, const QString &certificate,
    const QString &key, const TerminatorPorts &ports, QString *why)
{
    const QByteArray configuration
        = siteTerminatorConfiguration(folder, certificate, key, ports, why);
    const QString path = folder + QStringLiteral("/stunnel.conf");
    if (configuration.isEmpty() || !writeFile(path, configuration)) {
        if (why->isEmpty())
            *why = QStringLiteral("cannot write ") + path;
        return nullptr;
    }
    auto terminator = std::make_unique<Child>(QStringLiteral("stunnel4"));
    terminator->process.setProcessChannelMode(QProcess::MergedChannels);
    terminator->process.start(QStringLiteral("stunnel4"), {path});
    // Its ports are bound by the time it says so.
    if (terminator->waitFor(
            QRegularExpression(QStringLiteral("Configuration successful")), 0, StartTimeout)
            < 0
        || !terminator->isRunning()) {
        *why = QStringLiteral("stunnel4 did not come up:\n")
            + QString::fromUtf8(terminator->report());
        return nullptr;
    }
    return terminator;
}
