#include "SiteTls.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QHostAddress>
#include <QMutex>
#include <QSslCertificate>
#include <QStringList>

#include <algorithm>

namespace {

QMutex g_mutex;
SiteTls g_current;

QString tr(const char *text)
{
    return QCoreApplication::translate("SiteTls", text);
}

QString bare(const QString &host)
{
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        return host.mid(1, host.size() - 2);
    return host;
}

// What the certificate names: its alternative names, or its common name without them.
QString namesOf(const QSslCertificate &certificate)
{
    QStringList names;
    const auto alternatives = certificate.subjectAlternativeNames();
    for (auto it = alternatives.cbegin(); it != alternatives.cend(); ++it) {
        if (it.key() == QSsl::DnsEntry || it.key() == QSsl::IpAddressEntry)
            names.append(it.value());
    }
    if (names.isEmpty())
        names = certificate.subjectInfo(QSslCertificate::CommonName);
    names.removeDuplicates();
    // A hostile certificate can carry thousands of names; the reason is one log line.
    constexpr int MaxNames = 5;
    if (names.size() > MaxNames) {
        names = names.mid(0, MaxNames);
        names.append(QStringLiteral("..."));
    }
    return names.isEmpty() ? tr("no name") : names.join(QStringLiteral(", "));
}

QString issuerOf(const QSslCertificate &certificate)
{
    const QStringList names = certificate.issuerInfo(QSslCertificate::CommonName);
    return names.isEmpty() ? QString() : names.first();
}

} // namespace

void SiteTls::setCurrent(const SiteTls &site)
{
    const QMutexLocker lock(&g_mutex);
    g_current = site;
}

SiteTls SiteTls::current()
{
    const QMutexLocker lock(&g_mutex);
    return g_current;
}

bool SiteTls::covers(const QString &otherHost) const
{
    if (!enabled || host.isEmpty())
        return false;
    const QString mine = bare(host);
    const QString theirs = bare(otherHost);
    const QHostAddress myAddress(mine);
    if (!myAddress.isNull())
        return myAddress.isEqual(QHostAddress(theirs));
    return mine.compare(theirs, ::Qt::CaseInsensitive) == 0;
}

bool SiteTls::configuration(QSslConfiguration *out, QString *reason) const
{
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.setProtocol(QSsl::TlsV1_2OrLater);
    config.setPeerVerifyMode(QSslSocket::VerifyPeer);
    if (caFile.isEmpty()) {
        config.setCaCertificates(QSslConfiguration::systemCaCertificates());
    } else {
        QFile file(caFile);
        if (!file.exists()) {
            *reason = tr("CA file %1 does not exist").arg(caFile);
            return false;
        }
        if (!file.open(QIODevice::ReadOnly)) {
            *reason = tr("CA file %1 cannot be read: %2").arg(caFile, file.errorString());
            return false;
        }
        const QByteArray pem = file.read(MaxCaFileSize + 1);
        if (pem.size() > MaxCaFileSize) {
            *reason = tr("CA file %1 is larger than 1 MiB").arg(caFile);
            return false;
        }
        const QList<QSslCertificate> certificates = QSslCertificate::fromData(pem, QSsl::Pem);
        if (certificates.isEmpty()) {
            *reason = tr("CA file %1 holds no PEM certificate").arg(caFile);
            return false;
        }
        config.setCaCertificates(certificates);
    }
    *out = config;
    return true;
}

QString SiteTls::describe(const QList<QSslError> &errors) const
{
    const QString where
        = caFile.isEmpty() ? tr("not in the system's CA store") : tr("not in %1").arg(caFile);
    QStringList reasons;
    for (const QSslError &error : errors) {
        const QSslCertificate certificate = error.certificate();
        QString reason;
        switch (error.error()) {
        case QSslError::SelfSignedCertificate:
        case QSslError::SelfSignedCertificateInChain:
            reason = tr("certificate for %1 is not trusted: self-signed, %2").arg(host, where);
            break;
        case QSslError::UnableToGetLocalIssuerCertificate:
        case QSslError::UnableToGetIssuerCertificate:
        case QSslError::UnableToVerifyFirstCertificate:
        case QSslError::CertificateUntrusted:
        case QSslError::CertificateRejected: {
            const QString issuer = certificate.isNull() ? QString() : issuerOf(certificate);
            reason = issuer.isEmpty()
                ? tr("certificate for %1 is not trusted: unknown issuer, %2").arg(host, where)
                : tr("certificate for %1 is not trusted: issued by %2, %3")
                      .arg(host, issuer, where);
            break;
        }
        case QSslError::CertificateExpired:
            reason
                = tr("certificate for %1 has expired (not after %2)")
                      .arg(host, certificate.expiryDate().toUTC().date().toString(::Qt::ISODate));
            break;
        case QSslError::CertificateNotYetValid:
            reason = tr("certificate for %1 is not valid yet (not before %2)")
                         .arg(host,
                             certificate.effectiveDate().toUTC().date().toString(::Qt::ISODate));
            break;
        case QSslError::HostNameMismatch:
            reason = tr("certificate for %1 names %2, not %1").arg(host, namesOf(certificate));
            break;
        case QSslError::NoError:
            continue;
        default:
            reason = tr("certificate for %1 is refused: %2").arg(host, error.errorString());
            break;
        }
        if (!reasons.contains(reason))
            reasons.append(reason);
    }
    if (reasons.isEmpty())
        return tr("certificate for %1 is refused").arg(host);
    return reasons.join(QStringLiteral("; "));
}

QString SiteTls::describeHandshakeTimeout(int port, int milliseconds) const
{
    return tr("no TLS handshake from %1:%2 within %3 s")
        .arg(host)
        .arg(port)
        .arg(std::max(1, (milliseconds + 500) / 1000));
}

QString SiteTls::describeNotTls(int port) const
{
    return tr("no TLS handshake from %1:%2: the server does not speak TLS").arg(host).arg(port);
}
