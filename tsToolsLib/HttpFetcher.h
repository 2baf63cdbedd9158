#pragma once

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <string>

// A small blocking HTTP/1.0 GET fetcher; HttpTransport does the work.
//
// The http_* functions share one set of settings and one error state for the
// whole process. Callers that need settings of their own (a timeout per
// client) use HttpFetcher::fetch with a Settings value and an Error of their
// own, which leaves the process-wide state alone.
namespace HttpFetcher {

enum ErrorSource { FetcherSource = 0, SystemSource = 1, LookupSource = 2 };

enum ErrorNumber {
    Success = 0,
    InternalError = 1,
    NullUrl = 2,
    HeaderTimeout = 3,
    DataTimeout = 4,
    NoReturnCode = 5,
    BadReturnCode = 6,
    BadStatus = 7,
    BadContentLength = 8,
    NetworkError = 9,
    NoLocation = 10,
    TooManyRedirects = 11,
    BodyTooLarge = 12,
    DeadlinePassed = 13,
    Aborted = 14,
    ShortBody = 15,
    HeaderLineTooLong = 16,
    HeaderTooLong = 17,
    TransferEncoding = 18,
    BodyTooLong = 19,
    ContentLengthTwice = 20,
    TlsFailed = 21, // the reason in words is in Error::detail
};

struct Error
{
    int source = FetcherSource;
    int number = Success;
    int param = 0; // timeout, status code, redirect limit, deadline or size limit
    int systemError = 0; // errno of a system error, taken when it happened
    std::string detail; // why a TLS connection was refused
};

enum class UserAgentMode { Default, Custom, Suppressed };

struct Settings
{
    // Per wait for a connection or data; 0 or negative: no limit of its own,
    // only the deadline bounds the wait.
    int timeoutSeconds = 30;
    // The whole transfer, name lookup, connects and redirects included; a
    // server that trickles its answer cannot hold a fetch past it. Negative:
    // no limit.
    int deadlineMilliseconds = 60000;
    // Asked between short waits: true gives the fetch up at once (the
    // client is quitting).
    std::function<bool()> abortCheck;
    int redirects = 3; // negative follows without limit
    UserAgentMode userAgentMode = UserAgentMode::Default;
    std::string userAgent;
    bool hasReferer = false;
    std::string referer;
    // A server cannot make us allocate more than this for one body.
    std::int64_t maxBodySize = 256 * 1024 * 1024;
};

inline constexpr int HeaderLineLimit = 1024;
inline constexpr int HeaderLimit = 16 * 1024;
inline constexpr int DefaultReadSize = 204800;
inline constexpr int MaxReadSize = 1024 * 1024;
inline constexpr const char *DefaultUserAgent = "HTTP Fetcher/1";

// One GET with the given settings. Returns the body length, with the body
// plus one NUL byte in a malloc'ed buffer at *body when body is not null (the
// caller frees it), or -1 with *error filled in.
int fetch(const char *url, char **body, const Settings &settings, Error *error);
// The same into a byte array, which holds the body alone.
int fetch(const char *url, QByteArray *body, const Settings &settings, Error *error);

// The response to a request already sent on the connected socket fd: the
// body into *body (returns its length), the target of a redirect into
// *location (returns Redirected), or -1 with *error filled in.
inline constexpr int Redirected = -2;
int readResponse(
    int fd, QByteArray *body, std::string *location, const Settings &settings, Error *error);

// The text of an error, %d expanded.
std::string errorText(const Error &error);

// A copy of the process-wide settings, the base for a client's own.
Settings processSettings();
Error lastError();

} // namespace HttpFetcher

int http_fetch(const char *url, char **body);
const char *http_strerror();
void http_perror(const char *prefix);
int http_parseFilename(const char *url, char **name);
void http_setTimeout(int seconds);
void http_setRedirects(int redirects);
int http_setUserAgent(const char *agent);
int http_setReferer(const char *referer);
// Not in the classic set: bound what one fetch may allocate and how long it
// may take as a whole (negative: no limit).
void http_setMaxBodySize(std::int64_t bytes);
void http_setDeadline(int milliseconds);
