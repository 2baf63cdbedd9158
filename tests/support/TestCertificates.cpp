#include "TestCertificates.h"

#include <QFile>
#include <QProcess>
#include <QSslCertificate>
#include <QSslKey>

namespace {

const QStringList EcKey {QStringLiteral("-newkey"), QStringLiteral("ec"),
    QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:prime256v1"),
    QStringLiteral("-nodes")};

QString fileName(TestCertificates::Server server)
{
    switch (server) {
    case TestCertificates::Good:
        return QStringLiteral("good.pem");
    case TestCertificates::Expired:
        return QStringLiteral("expired.pem");
    case TestCertificates::OtherCa:
        return QStringLiteral("otherca-server.pem");
    case TestCertificates::OtherName:
        return QStringLiteral("othername.pem");
    case TestCertificates::SelfSigned:
        return QStringLiteral("selfsigned.pem");
    }
    return {};
}

} // namespace

bool TestCertificates::openssl(const QStringList &arguments, QString *why) const
{
    QProcess process;
    process.setWorkingDirectory(m_dir.path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("openssl"), arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        *why = QStringLiteral("openssl %1: %2")
                   .arg(arguments.join(QLatin1Char(' ')),
                       QString::fromLocal8Bit(process.readAll()) + process.errorString());
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
    const auto ca = [this, why](const QString &name, const QString &subject) {
        return openssl(QStringList {QStringLiteral("req"), QStringLiteral("-x509")} + EcKey
                + QStringList {QStringLiteral("-keyout"), name + QStringLiteral(".key"),
                    QStringLiteral("-out"), name + QStringLiteral(".pem"), QStringLiteral("-days"),
                    QStringLiteral("30"), QStringLiteral("-subj"), subject,
                    QStringLiteral("-addext"), QStringLiteral("basicConstraints=critical,CA:TRUE"),
                    QStringLiteral("-addext"), QStringLiteral("keyUsage=critical,keyCertSign")},
            why);
    };
    const auto sign = [this, why](const QString &out, const QString &caName, const QString &ext,
                          const QString &days) {
        return openssl({QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"),
                           QStringLiteral("server.csr"), QStringLiteral("-CA"),
                           caName + QStringLiteral(".pem"), QStringLiteral("-CAkey"),
                           caName + QStringLiteral(".key"), QStringLiteral("-CAcreateserial"),
                           QStringLiteral("-out"), out, QStringLiteral("-days"), days,
                           QStringLiteral("-extfile"), ext},
            why);
    };
    return ca(QStringLiteral("ca"), QStringLiteral("/CN=Test Site CA"))
        && ca(QStringLiteral("otherca"), QStringLiteral("/CN=Somebody Else's CA"))
        && openssl(QStringList {QStringLiteral("req"), QStringLiteral("-new")} + EcKey
                + QStringList {QStringLiteral("-keyout"), QStringLiteral("server.key"),
                    QStringLiteral("-out"), QStringLiteral("server.csr"), QStringLiteral("-subj"),
                    QStringLiteral("/CN=Test Terminator")},
            why)
        && sign(
            fileName(Good), QStringLiteral("ca"), QStringLiteral("local.ext"), QStringLiteral("30"))
        && sign(fileName(Expired), QStringLiteral("ca"), QStringLiteral("local.ext"),
            QStringLiteral("-1"))
        && sign(fileName(OtherCa), QStringLiteral("otherca"), QStringLiteral("local.ext"),
            QStringLiteral("30"))
        && sign(fileName(OtherName), QStringLiteral("ca"), QStringLiteral("other.ext"),
            QStringLiteral("30"))
        && openssl({QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"),
                       QStringLiteral("server.csr"), QStringLiteral("-signkey"),
                       QStringLiteral("server.key"), QStringLiteral("-out"), fileName(SelfSigned),
                       QStringLiteral("-days"), QStringLiteral("30"), QStringLiteral("-extfile"),
                       QStringLiteral("local.ext")},
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
    const QList<QSslCertificate> chain
        = QSslCertificate::fromPath(certificateFile(server), QSsl::Pem);
    if (!chain.isEmpty())
        configuration.setLocalCertificate(chain.first());
    QFile key(keyFile());
    if (key.open(QIODevice::ReadOnly))
        configuration.setPrivateKey(QSslKey(&key, QSsl::Ec));
    return configuration;
}
