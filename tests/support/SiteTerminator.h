#pragma once

// Debian's stunnel4 as a site runs it in front of the Print Service: the
// configuration docs/administration.md gives sites, only its paths and ports replaced.

#include "WholeProgram.h"

#include <QString>

#include <memory>

struct TerminatorPorts
{
    int tls = 21327; // the message stream, encrypted
    int https = 30045; // the HTTP fetches, encrypted
    int messages = 21326; // the Print Service's own ports behind it
    int http = 30044;
};

// The configuration file of the source tree, for a terminator with that
// certificate and key that keeps its pid file in `folder`; empty with *why
// when the file no longer has a line the replacement expects.
QByteArray siteTerminatorConfiguration(const QString &folder, const QString &certificate,
    const QString &key, const TerminatorPorts &ports, QString *why);

// Started in the foreground, its log kept as the child's lines; null with
// *why when stunnel4 is missing or did not come up.
std::unique_ptr<Child> startSiteTerminator(const QString &folder, const QString &certificate,
    const QString &key, const TerminatorPorts &ports, QString *why);

inline constexpr const char *NoTerminatorTools
    = "stunnel4 and openssl are needed (scripts/setup.sh installs them)";
bool haveTerminatorTools();
