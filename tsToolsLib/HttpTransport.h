#pragma once

#include "HttpFetcher.h"

#include <QByteArray>

#include <functional>
#include <string>

struct addrinfo;

// The one way both HTTP clients reach the network: one GET over HTTP/1.0 with the
// whole-transfer deadline (name lookup included), the header and body bounds,
// Content-Length, redirects, the abort check and, for the site's Print Service
// host, TLS. Blocking: call it from a thread that may wait.
class HttpTransport
{
public:
    // The body plus one NUL byte in a malloc'ed buffer at *body when body is not
    // null (the caller frees it); returns the body length or -1 with *error.
    static int fetch(const char *url, char **body, const HttpFetcher::Settings &settings,
        HttpFetcher::Error *error);
    // The same into a byte array, which holds the body alone.
    static int fetch(const char *url, QByteArray *body, const HttpFetcher::Settings &settings,
        HttpFetcher::Error *error);

    // The response to a request already sent on the connected plaintext socket fd.
    static int readResponse(int fd, QByteArray *body, std::string *location,
        const HttpFetcher::Settings &settings, HttpFetcher::Error *error);

    // Whether a fetch from host:port goes through the site's TLS terminator.
    // The local reservation service (a loopback address, port 4567) stays
    // plaintext even when the Print Service shares its address: it never
    // leaves the machine and the terminator does not forward it.
    static bool usesTls(const QString &host, int port);
    static constexpr int ReservationPort = 4567;

    // Name lookups run on one long-lived thread; a lookup nobody waits for
    // any more is not repeated while it runs. Tests replace getaddrinfo to
    // make a lookup hang (addresses it returns are not freed); null restores it.
    using LookupFunction
        = std::function<int(const char *, const char *, const addrinfo *, addrinfo **)>;
    static void setLookupFunction(LookupFunction lookup);
    // A lookup waits no longer than this when neither the deadline nor the
    // wait timeout bounds it.
    static constexpr int LookupLimitMilliseconds = 30000;
};
