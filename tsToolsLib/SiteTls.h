#pragma once

#include <QList>
#include <QSslConfiguration>
#include <QSslError>
#include <QString>

// How the client reaches the site's Print Service host when the site encrypts it: everything to
// that host goes through the site's TLS terminator, verified, and never falls back to plaintext.
struct SiteTls
{
    bool enabled = false;
    QString host; // the Print Service address; the certificate must name it
    int tlsPort = 21327; // the terminator's port for the message stream
    int httpsPort = 30045; // the terminator's port for every HTTP fetch from host
    QString caFile; // PEM certificates to trust; empty: the system's CA store

    static constexpr int HandshakeTimeoutMs = 10000;
    static constexpr qint64 MaxCaFileSize = 1024 * 1024;

    // Process-wide, set once by start-up before the first connection or fetch.
    static void setCurrent(const SiteTls &site);
    static SiteTls current();

    // True when traffic to host must go through the terminator. Names compare without regard to
    // case; an IPv6 address may come in brackets.
    [[nodiscard]] bool covers(const QString &otherHost) const;

    // TLS 1.2 or later, peer verified against caFile's certificates (or the system store).
    // False, with *reason in words, when the CA file is missing, unreadable, too large (cap 1 MiB)
    // or holds no PEM certificate: nothing may then be sent to the site.
    [[nodiscard]] bool configuration(QSslConfiguration *out, QString *reason) const;

    // A failed verification in words, naming the host and the CA file, e.g.
    // "certificate for print.example.org is not trusted: self-signed, not in
    // /etc/pellora-vav/ca.pem", "certificate for 127.0.0.1 has expired (not after 2026-01-01)",
    // "certificate for 127.0.0.1 names other.example.org, not 127.0.0.1".
    QString describe(const QList<QSslError> &errors) const;
    // Other failures in words, the same shape:
    // "no TLS handshake from 127.0.0.1:21327 within 10 s" / "...: the server does not speak TLS".
    QString describeHandshakeTimeout(int port, int milliseconds = HandshakeTimeoutMs) const;
    QString describeNotTls(int port) const;
};
