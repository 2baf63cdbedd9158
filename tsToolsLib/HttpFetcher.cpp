#include "HttpFetcher.h"

#include "ConsoleLine.h"
#include "HttpTransport.h"

#include <QString>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <string_view>

namespace HttpFetcher {

namespace {

Settings g_settings;
Error g_error;
std::string g_errorText;

const char *const ErrorTexts[] = {
    "Success",
    "Internal Error.",
    "Got NULL url",
    "Timed out, no metadata for %d seconds",
    "Timed out, no data for %d seconds",
    "Couldn't find return code in HTTP response",
    "Couldn't convert return code in HTTP response",
    "Request returned a status code of %d",
    "Couldn't convert Content-Length to integer",
    "Network error (description unavailable)",
    "Status code of %d but no Location: field",
    "Followed the maximum number of redirects (%d)",
    "Body larger than the limit of %d bytes",
    "Timed out, transfer not done within %d milliseconds",
    "Transfer aborted",
    "Body shorter than its Content-Length of %d bytes",
    "Header line longer than %d bytes",
    "Header longer than %d bytes",
    "Transfer-Encoding not supported by HTTP/1.0",
    "Body longer than its Content-Length of %d bytes",
    "Content-Length given twice with different values",
    "TLS failed",
};
constexpr int ErrorTextCount = int(sizeof(ErrorTexts) / sizeof(ErrorTexts[0]));

std::string withoutLineBreaks(const char *text)
{
    std::string result(text);
    result.erase(
        std::remove_if(result.begin(), result.end(), [](char c) { return c == '\r' || c == '\n'; }),
        result.end());
    return result;
}

} // namespace

int fetch(const char *url, char **body, const Settings &settings, Error *error)
{
    return HttpTransport::fetch(url, body, settings, error);
}

int fetch(const char *url, QByteArray *body, const Settings &settings, Error *error)
{
    return HttpTransport::fetch(url, body, settings, error);
}

int readResponse(
    int fd, QByteArray *body, std::string *location, const Settings &settings, Error *error)
{
    return HttpTransport::readResponse(fd, body, location, settings, error);
}

std::string errorText(const Error &error)
{
    if (error.source == SystemSource)
        return std::strerror(error.systemError);
    if (error.source == LookupSource)
        return ErrorTexts[NetworkError];
    if (error.source != FetcherSource || error.number < 0 || error.number >= ErrorTextCount)
        return ErrorTexts[InternalError];
    if (error.number == TlsFailed && !error.detail.empty())
        return error.detail;
    const std::string_view text(ErrorTexts[error.number]);
    const size_t placeholder = text.find("%d");
    if (placeholder == std::string_view::npos)
        return std::string(text);
    return std::string(text.substr(0, placeholder)) + std::to_string(error.param)
        + std::string(text.substr(placeholder + 2));
}

Settings processSettings()
{
    return g_settings;
}

Error lastError()
{
    return g_error;
}

} // namespace HttpFetcher

using namespace HttpFetcher;

int http_fetch(const char *url, char **body)
{
    return fetch(url, body, g_settings, &g_error);
}

const char *http_strerror()
{
    g_errorText = errorText(g_error);
    return g_errorText.c_str();
}

void http_perror(const char *prefix)
{
    const QString text = QString::fromStdString(errorText(g_error));
    UtilsLib::writeErrorLine(
        prefix ? QString::fromLocal8Bit(prefix) + QStringLiteral(": ") + text : text);
}

int http_parseFilename(const char *url, char **name)
{
    if (!url) {
        g_error = Error {FetcherSource, NullUrl, 0, 0, {}};
        return -1;
    }
    if (!name) {
        g_error = Error {FetcherSource, InternalError, 0, 0, {}};
        return -1;
    }
    const char *lastSlash = std::strrchr(url, '/');
    const char *start = lastSlash ? lastSlash + 1 : url;
    *name = ::strdup(start);
    if (!*name) {
        g_error = Error {SystemSource, NetworkError, 0, ENOMEM, {}};
        return -1;
    }
    return (!lastSlash || *start == '\0') ? 1 : 0;
}

void http_setTimeout(int seconds)
{
    g_settings.timeoutSeconds = seconds;
}

void http_setRedirects(int redirects)
{
    g_settings.redirects = redirects;
}

int http_setUserAgent(const char *agent)
{
    try {
        g_settings.userAgent = agent ? withoutLineBreaks(agent) : std::string();
    } catch (const std::bad_alloc &) {
        return -1;
    }
    g_settings.userAgentMode = agent ? UserAgentMode::Custom : UserAgentMode::Suppressed;
    return 0;
}

int http_setReferer(const char *referer)
{
    try {
        g_settings.referer = referer ? withoutLineBreaks(referer) : std::string();
    } catch (const std::bad_alloc &) {
        return -1;
    }
    g_settings.hasReferer = referer != nullptr;
    return 0;
}

void http_setMaxBodySize(std::int64_t bytes)
{
    g_settings.maxBodySize = bytes;
}

void http_setDeadline(int milliseconds)
{
    g_settings.deadlineMilliseconds = milliseconds;
}
