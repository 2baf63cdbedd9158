#include "TestCertificates.h"

#include <QFile>
#include <QProcess>
#include <QSslCertificate>
#include <QSslKey>

namespace {

QString fileName(TestCertificates::Server server)
{
    static const char *const names[] = {"good.pem", "expired.pem", "otherca-server.pem",
        "othername.pem", "selfsigned.pem", "soon.pem"};
    return QString::fromLatin1(names[server]);
}

} // namespace

// command: openssl's arguments, quoted as in a shell.
bool TestCertificates::openssl(const QString &command, QString *why) const
{
    QProcess process;
    process.setWorkingDirectory(m_dir.path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("openssl"), QProcess::splitCommand(command));
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        *why = QStringLiteral("openssl %1: %2")
                   .arg(command, QString::fromLocal8Bit(process.readAll()) + process.errorString());
        return false;
    }
    return true;
}

bool TestCertificates::make(QString *why)
{
    if (!m_dir.isValid()) {
        *why = m_dir.errorString();
        return false;
    }
    const auto write = [this](const QString &name, const QByteArray &text) {
        QFile file(path(name));
        return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
    };
    if (!write(QStringLiteral("local.ext"), "subjectAltName=IP:127.0.0.1,DNS:localhost\n")
        || !write(QStringLiteral("other.ext"), "subjectAltName=DNS:other.example.org\n")) {
        *why = QStringLiteral("cannot write into ") + m_dir.path();
        return false;
    }
    const QString ecKey = QStringLiteral("-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes");
    const auto ca = [&](const QString &name, const QString &subject) {
        return openssl(
            QStringLiteral("req -x509 %1 -keyout %2.key -out %2.pem -days 365 -subj \"%3\" "
                           "-addext basicConstraints=critical,CA:TRUE "
                           "-addext keyUsage=critical,keyCertSign")
                .arg(ecKey, name, subject),
            why);
    };
    const auto sign = [&](Server server, const QString &caName, const QString &ext, int days) {
        return openssl(QStringLiteral("x509 -req -in server.csr -CA %1.pem -CAkey %1.key "
                                      "-CAcreateserial -out %2 -days %3 -extfile %4")
                           .arg(caName, fileName(server))
                           .arg(days)
                           .arg(ext),
            why);
    };
    // The subject names no host: the alternative names alone say where a
    // certificate is valid.
    return ca(QStringLiteral("ca"), QStringLiteral("/CN=Test Site CA"))
        && ca(QStringLiteral("otherca"), QStringLiteral("/CN=Somebody Else's CA"))
        && openssl(QStringLiteral("req -new %1 -keyout server.key -out server.csr "
                                  "-subj \"/CN=Test Terminator\"")
                       .arg(ecKey),
            why)
        && sign(Good, QStringLiteral("ca"), QStringLiteral("local.ext"), 365)
        && sign(ExpiresSoon, QStringLiteral("ca"), QStringLiteral("local.ext"), 10)
        && sign(Expired, QStringLiteral("ca"), QStringLiteral("local.ext"), -1)
        && sign(OtherCa, QStringLiteral("otherca"), QStringLiteral("local.ext"), 30)
        && sign(OtherName, QStringLiteral("ca"), QStringLiteral("other.ext"), 30)
        && openssl(QStringLiteral("x509 -req -in server.csr -signkey server.key -out %1 -days 30 "
                                  "-extfile local.ext")
                       .arg(fileName(SelfSigned)),
            why);
}

QString TestCertificates::certificateFile(Server server) const
{
    return path(fileName(server));
}

QSslConfiguration TestCertificates::serverConfiguration(Server server) const
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    configuration.setLocalCertificate(
        QSslCertificate::fromPath(certificateFile(server), QSsl::Pem).value(0));
    QFile key(keyFile());
    if (key.open(QIODevice::ReadOnly))
        configuration.setPrivateKey(QSslKey(&key, QSsl::Ec));
    return configuration;
}

QString TestCertificates::expiredOn() const
{
    return QSslCertificate::fromPath(certificateFile(Expired))
        .value(0)
        .expiryDate()
        .toUTC()
        .date()
        .toString(::Qt::ISODate);
}
