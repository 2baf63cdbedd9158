#pragma once

#include <QSslConfiguration>
#include <QString>
#include <QTemporaryDir>

// Certificates made by openssl at test time: a site CA, server certificates
// for 127.0.0.1/localhost signed by it, and the bad ones a TLS terminator may
// present. Every server certificate shares one key.
class TestCertificates
{
public:
    enum Server {
        Good, // 127.0.0.1 and localhost, from the site CA
        Expired, // the same names, expired yesterday
        OtherCa, // the same names, from a CA the client does not know
        OtherName, // other.example.org, from the site CA
        SelfSigned, // 127.0.0.1, signed by its own key
        ExpiresSoon, // the same names as Good, valid 10 more days
    };

    // Runs openssl; false with *why when it could not.
    bool make(QString *why);
    QString caFile() const { return path(QStringLiteral("ca.pem")); }
    QString certificateFile(Server server) const;
    QString keyFile() const { return path(QStringLiteral("server.key")); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // The day the expired certificate ended, as a failure names it.
    QString expiredOn() const;
    // What a terminator with that certificate presents.
    QSslConfiguration serverConfiguration(Server server) const;

private:
    bool openssl(const QString &command, QString *why) const;

    QTemporaryDir m_dir;
};
