#include "HttpFetcher.h"

#include "ConsoleLine.h"

#include <QString>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <new>
#include <string_view>
#include <system_error>
#include <thread>

#include <QByteArray>

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

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
};
constexpr int ErrorTextCount = int(sizeof(ErrorTexts) / sizeof(ErrorTexts[0]));

int fail(Error *error, int number, int param = 0)
{
    *error = Error {FetcherSource, number, param, 0};
    return -1;
}

int failSystem(Error *error, int systemError)
{
    *error = Error {SystemSource, NetworkError, 0, systemError};
    return -1;
}

int failLookup(Error *error)
{
    *error = Error {LookupSource, NetworkError, 0, 0};
    return -1;
}

class Socket
{
public:
    Socket() = default;
    ~Socket() { close(); }
    Socket(const Socket &) = delete;
    Socket &operator=(const Socket &) = delete;

    void reset(int fd)
    {
        close();
        m_fd = fd;
    }
    void close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    int fd() const { return m_fd; }

private:
    int m_fd = -1;
};

int toMilliseconds(int seconds)
{
    if (seconds < 0)
        return -1;
    return seconds > INT_MAX / 1000 ? INT_MAX : seconds * 1000;
}

using SteadyClock = std::chrono::steady_clock;

// The fetch's end as a whole and its way out when the client quits.
class Deadline
{
public:
    explicit Deadline(const Settings &settings)
        : m_bounded(settings.deadlineMilliseconds >= 0)
        , m_end(SteadyClock::now()
              + std::chrono::milliseconds(std::max(0, settings.deadlineMilliseconds)))
        , m_milliseconds(settings.deadlineMilliseconds)
        , m_abortCheck(settings.abortCheck)
    { }

    bool passed() const { return m_bounded && SteadyClock::now() >= m_end; }
    bool aborted() const { return m_abortCheck && m_abortCheck(); }
    bool hasAbortCheck() const { return bool(m_abortCheck); }
    // Milliseconds left, rounded up; -1 without a deadline.
    long long left() const
    {
        if (!m_bounded)
            return -1;
        const auto rest = m_end - SteadyClock::now();
        return std::max<long long>(0, std::chrono::ceil<std::chrono::milliseconds>(rest).count());
    }
    int fail(Error *error) const
    {
        *error = aborted() ? Error {FetcherSource, Aborted, 0, 0}
                           : Error {FetcherSource, DeadlinePassed, m_milliseconds, 0};
        return -1;
    }

private:
    bool m_bounded;
    SteadyClock::time_point m_end;
    int m_milliseconds;
    std::function<bool()> m_abortCheck;
};

// How often a wait looks at the abort check.
constexpr long long AbortPollMilliseconds = 100;

enum WaitResult { WaitError = -1, WaitTimedOut = 0, WaitReady = 1, WaitEnded = 2 };

// poll() rather than select(): a descriptor number above FD_SETSIZE must not
// write past an fd_set. Ready, the wait's own expiry (milliseconds, negative
// without limit), the fetch's deadline or abort (WaitEnded), or an error
// with errno set.
int waitFor(int fd, short events, int milliseconds, const Deadline &deadline)
{
    const SteadyClock::time_point waitEnd = milliseconds < 0
        ? SteadyClock::time_point::max()
        : SteadyClock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        if (deadline.aborted())
            return WaitEnded;
        long long slice = deadline.left();
        if (milliseconds >= 0) {
            const long long waitLeft = std::max<long long>(0,
                std::chrono::ceil<std::chrono::milliseconds>(waitEnd - SteadyClock::now()).count());
            slice = slice < 0 ? waitLeft : std::min(slice, waitLeft);
        }
        if (deadline.hasAbortCheck())
            slice = slice < 0 ? AbortPollMilliseconds : std::min(slice, AbortPollMilliseconds);
        pollfd p {fd, events, 0};
        const int result = ::poll(&p, 1, int(std::min<long long>(slice, INT_MAX)));
        if (result < 0 && errno == EINTR)
            continue;
        if (result != 0)
            return result < 0 ? WaitError : WaitReady;
        if (deadline.passed())
            return WaitEnded;
        if (milliseconds >= 0 && SteadyClock::now() >= waitEnd)
            return WaitTimedOut;
    }
}

// A connect to a host that does not answer would otherwise hang for minutes;
// a positive timeout bounds it as it bounds every other wait. Returns 0, -1
// with errno set, or WaitEnded.
int connectWithin(
    int fd, const sockaddr *address, socklen_t length, int timeoutSeconds, const Deadline &deadline)
{
    const int flags = ::fcntl(fd, F_GETFL, 0);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0)
        return -1;
    if (::connect(fd, address, length) < 0) {
        if (errno != EINPROGRESS)
            return -1;
        const int ready = waitFor(
            fd, POLLOUT, timeoutSeconds > 0 ? toMilliseconds(timeoutSeconds) : -1, deadline);
        if (ready == WaitEnded)
            return WaitEnded;
        if (ready == WaitTimedOut)
            errno = ETIMEDOUT;
        if (ready != WaitReady)
            return -1;
        int socketError = 0;
        socklen_t size = sizeof(socketError);
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &socketError, &size) < 0)
            return -1;
        if (socketError != 0) {
            errno = socketError;
            return -1;
        }
    }
    return ::fcntl(fd, F_SETFL, flags) >= 0 ? 0 : -1;
}

// getaddrinfo() has no timeout of its own: a name is looked up on a thread
// of its own, which is left to finish alone when the fetch ends first.
struct Lookup
{
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    int result = EAI_FAIL;
    addrinfo *addresses = nullptr;
    ~Lookup()
    {
        if (addresses)
            ::freeaddrinfo(addresses);
    }
};

// 0 with *addresses set, -1 when the name cannot be resolved, WaitEnded.
int resolve(const std::string &host, const std::string &port, const Deadline &deadline,
    addrinfo **addresses)
{
    addrinfo hints {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV | AI_NUMERICHOST;
    // An address needs no lookup, and the client's are addresses mostly.
    const int numeric = ::getaddrinfo(host.c_str(), port.c_str(), &hints, addresses);
    if (numeric == 0)
        return *addresses ? 0 : -1;
    if (numeric != EAI_NONAME)
        return -1;

    hints.ai_flags = AI_NUMERICSERV;
    auto lookup = std::make_shared<Lookup>();
    try {
        std::thread([lookup, host, port, hints] {
            addrinfo *found = nullptr;
            const int result = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found);
            const std::lock_guard<std::mutex> lock(lookup->mutex);
            lookup->result = result;
            lookup->addresses = found;
            lookup->finished = true;
            lookup->done.notify_all();
        }).detach();
    } catch (const std::system_error &) {
        return -1;
    }
    std::unique_lock<std::mutex> lock(lookup->mutex);
    for (;;) {
        if (lookup->finished)
            break;
        if (deadline.aborted() || deadline.passed())
            return WaitEnded;
        long long slice = deadline.left();
        if (slice < 0 || (deadline.hasAbortCheck() && slice > AbortPollMilliseconds))
            slice = deadline.hasAbortCheck() ? AbortPollMilliseconds : -1;
        if (slice < 0)
            lookup->done.wait(lock);
        else
            lookup->done.wait_for(lock, std::chrono::milliseconds(slice));
    }
    if (lookup->result != 0 || !lookup->addresses)
        return -1;
    *addresses = lookup->addresses;
    lookup->addresses = nullptr;
    return 0;
}

struct Target
{
    std::string hostPart; // as written, port included: the Host header
    std::string host;
    std::string port;
    std::string path;
};

Target splitUrl(const std::string &url)
{
    Target target;
    const size_t scheme = url.find("://");
    const size_t start = scheme == std::string::npos ? 0 : scheme + 3;
    const size_t slash = url.find('/', start);
    target.hostPart
        = url.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    if (slash != std::string::npos)
        target.path = url.substr(slash);

    const std::string &hostPart = target.hostPart;
    size_t colon = std::string::npos;
    if (!hostPart.empty() && hostPart.front() == '[') {
        const size_t close = hostPart.find(']');
        target.host
            = hostPart.substr(1, close == std::string::npos ? std::string::npos : close - 1);
        if (close != std::string::npos && close + 1 < hostPart.size() && hostPart[close + 1] == ':')
            colon = close + 1;
    } else {
        colon = hostPart.find(':');
        target.host = hostPart.substr(0, colon);
    }
    target.port = colon == std::string::npos ? std::string() : hostPart.substr(colon + 1);
    if (target.port.empty())
        target.port = "80";
    return target;
}

bool isValidPort(const std::string &port)
{
    if (port.empty() || port.size() > 5)
        return false;
    if (!std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const int value = std::atoi(port.c_str());
    return value > 0 && value <= 65535;
}

std::string withoutLineBreaks(const char *text)
{
    std::string result(text);
    result.erase(
        std::remove_if(result.begin(), result.end(), [](char c) { return c == '\r' || c == '\n'; }),
        result.end());
    return result;
}

std::string buildRequest(const Target &target, const Settings &settings)
{
    std::string request
        = "GET " + (target.path.empty() ? std::string("/") : target.path) + " HTTP/1.0\r\n";
    request += "Host: " + target.hostPart + "\r\n";
    if (settings.hasReferer)
        request += "Referer: " + settings.referer + "\r\n";
    if (settings.userAgentMode == UserAgentMode::Default)
        request += std::string("User-Agent: ") + DefaultUserAgent + "\r\n";
    else if (settings.userAgentMode == UserAgentMode::Custom)
        request += "User-Agent: " + settings.userAgent + "\r\n";
    request += "Connection: Close\r\n\r\n";
    return request;
}

int openConnection(const Target &target, const Settings &settings, const Deadline &deadline,
    Socket *socket, Error *error)
{
    if (target.host.empty() || !isValidPort(target.port))
        return failLookup(error);
    addrinfo *addresses = nullptr;
    const int resolved = resolve(target.host, target.port, deadline, &addresses);
    if (resolved == WaitEnded)
        return deadline.fail(error);
    if (resolved != 0)
        return failLookup(error);

    int lastError = ECONNREFUSED;
    for (addrinfo *address = addresses; address; address = address->ai_next) {
        const int fd = ::socket(
            address->ai_family, address->ai_socktype | SOCK_CLOEXEC, address->ai_protocol);
        if (fd < 0) {
            lastError = errno;
            continue;
        }
        socket->reset(fd);
        const int connected = connectWithin(
            fd, address->ai_addr, address->ai_addrlen, settings.timeoutSeconds, deadline);
        if (connected == 0 || connected == WaitEnded) {
            ::freeaddrinfo(addresses);
            return connected == 0 ? 0 : deadline.fail(error);
        }
        lastError = errno;
        socket->close();
    }
    ::freeaddrinfo(addresses);
    return failSystem(error, lastError);
}

int sendAll(int fd, const std::string &data, Error *error)
{
    size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t n = ::send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failSystem(error, errno);
        }
        sent += size_t(n);
    }
    return 0;
}

// Reads until the first empty line (carriage returns do not count). A line
// longer than HeaderLineLimit or a header longer than HeaderLimit is refused:
// what follows could not be told apart from the body. Bytes read past the
// header belong to the body and are left in *rest.
int readHeader(int fd, int timeoutSeconds, const Deadline &deadline, std::string *header,
    std::string *rest, bool *closed, Error *error)
{
    std::string raw;
    size_t scanned = 0;
    size_t lineStart = 0;
    int lineBreaks = 0;
    char chunk[4096];
    *closed = false;
    for (;;) {
        for (; scanned < raw.size(); ++scanned) {
            const char c = raw[scanned];
            if (c == '\n') {
                lineStart = scanned + 1;
                if (++lineBreaks == 2) {
                    *header = raw.substr(0, scanned + 1);
                    *rest = raw.substr(scanned + 1);
                    return 0;
                }
            } else if (c != '\r') {
                lineBreaks = 0;
            }
            if (scanned + 1 - lineStart > size_t(HeaderLineLimit))
                return fail(error, HeaderLineTooLong, HeaderLineLimit);
            if (scanned + 1 >= size_t(HeaderLimit))
                return fail(error, HeaderTooLong, HeaderLimit);
        }
        const int ready = waitFor(fd, POLLIN, toMilliseconds(timeoutSeconds), deadline);
        if (ready == WaitEnded)
            return deadline.fail(error);
        if (ready == WaitTimedOut)
            return fail(error, HeaderTimeout, timeoutSeconds);
        if (ready == WaitError)
            return failSystem(error, errno);
        const ssize_t n = ::recv(fd, chunk, std::min(sizeof(chunk), HeaderLimit - raw.size()), 0);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failSystem(error, errno);
        }
        if (n == 0) {
            // The server hung up inside the header: what came is all there is.
            *header = raw;
            rest->clear();
            *closed = true;
            return 0;
        }
        raw.append(chunk, size_t(n));
    }
}

// The value of the header field name (matched whole and without regard to
// case, so Location: is never found inside Content-Location:), or npos.
size_t fieldValue(std::string_view header, std::string_view name)
{
    size_t line = 0;
    while (line < header.size()) {
        const size_t end = std::min(header.find('\n', line), header.size());
        const std::string_view text = header.substr(line, end - line);
        if (text.size() > name.size() && text[name.size()] == ':'
            && std::equal(name.begin(), name.end(), text.begin(),
                [](char a, char b) { return std::tolower(uchar(a)) == std::tolower(uchar(b)); }))
            return line + name.size() + 1;
        line = end + 1;
    }
    return std::string_view::npos;
}

// Reads an unsigned decimal number at pos, blanks skipped. Returns false when
// there are no digits or the number exceeds INT_MAX.
bool readNumber(std::string_view text, size_t pos, int *value)
{
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
    long long number = 0;
    size_t digits = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        number = number * 10 + (text[pos] - '0');
        if (number > INT_MAX)
            return false;
        ++pos;
        ++digits;
    }
    if (digits == 0)
        return false;
    *value = int(number);
    return true;
}

// Where a body goes: a malloc'ed buffer for the C interface, a QByteArray
// for the clients.
constexpr std::int64_t MaxPreallocation = 32 * 1024 * 1024;

class BodyStore
{
public:
    virtual ~BodyStore() = default;
    // Room for at least capacity bytes, the first size kept; null when memory
    // runs out.
    virtual char *reserve(size_t capacity, size_t size) = 0;
    virtual void finish(size_t length) = 0;
};

class MallocStore : public BodyStore
{
public:
    explicit MallocStore(char **target)
        : m_target(target)
    { }
    ~MallocStore() override { std::free(m_data); }
    char *reserve(size_t capacity, size_t) override
    {
        char *data = static_cast<char *>(std::realloc(m_data, capacity));
        if (data)
            m_data = data;
        return data;
    }
    // The buffer keeps its NUL after the body.
    void finish(size_t) override
    {
        if (m_target) {
            *m_target = m_data;
            m_data = nullptr;
        }
    }

private:
    char **m_target;
    char *m_data = nullptr;
};

class ByteArrayStore : public BodyStore
{
public:
    explicit ByteArrayStore(QByteArray *target)
        : m_target(target)
    { }
    char *reserve(size_t capacity, size_t) override
    {
        if (capacity > size_t(std::numeric_limits<qsizetype>::max()))
            return nullptr;
        try {
            m_target->resize(qsizetype(capacity));
        } catch (const std::bad_alloc &) {
            return nullptr;
        }
        return m_target->data();
    }
    void finish(size_t length) override { m_target->resize(qsizetype(length)); }

private:
    QByteArray *m_target;
};

class BodyBuffer
{
public:
    // Growth stops at ceiling: past it the body is over the limit anyway.
    BodyBuffer(BodyStore *store, size_t ceiling)
        : m_store(store)
        , m_ceiling(ceiling)
    { }

    bool reserve(size_t capacity)
    {
        if (capacity <= m_capacity)
            return true;
        const size_t grown = std::max(capacity, std::min(m_capacity * 2, m_ceiling));
        char *data = m_store->reserve(grown, m_size);
        if (!data)
            return false;
        m_data = data;
        m_capacity = grown;
        return true;
    }
    char *end() { return m_data + m_size; }
    size_t room() const { return m_capacity - m_size; }
    void grow(size_t n) { m_size += n; }
    size_t size() const { return m_size; }

private:
    BodyStore *m_store;
    size_t m_ceiling;
    char *m_data = nullptr;
    size_t m_size = 0;
    size_t m_capacity = 0;
};

// announced is the Content-Length, or -1 without one.
int readBody(int fd, bool closed, const std::string &start, int announced, int readSize,
    const Settings &settings, const Deadline &deadline, BodyStore *store, Error *error)
{
    const std::int64_t limit = std::clamp<std::int64_t>(settings.maxBodySize, 0, INT_MAX - 1);
    // Room for the announced body, the NUL and one read that finds the end,
    // so that a server telling the truth costs no reallocation.
    // A length beyond MaxPreallocation is believed only as the data arrives.
    const size_t expected = announced < 0
        ? size_t(readSize)
        : size_t(std::min<std::int64_t>({announced, limit + 1, MaxPreallocation}));
    BodyBuffer buffer(store, size_t(limit) + size_t(readSize) + 4096 + 1);
    if (!buffer.reserve(std::max(start.size(), expected) + 4096 + 1))
        return failSystem(error, ENOMEM);
    start.copy(buffer.end(), start.size());
    buffer.grow(start.size());

    while (!closed) {
        if (std::int64_t(buffer.size()) > limit)
            return fail(error, BodyTooLarge, int(limit));
        if (buffer.room() <= 1 && !buffer.reserve(buffer.size() + size_t(readSize) + 1))
            return failSystem(error, ENOMEM);
        const int ready = waitFor(fd, POLLIN, toMilliseconds(settings.timeoutSeconds), deadline);
        if (ready == WaitEnded)
            return deadline.fail(error);
        if (ready == WaitTimedOut)
            return fail(error, DataTimeout, settings.timeoutSeconds);
        if (ready == WaitError)
            return failSystem(error, errno);
        const size_t chunk = std::min(buffer.room() - 1, size_t(readSize));
        const ssize_t n = ::recv(fd, buffer.end(), chunk, 0);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failSystem(error, errno);
        }
        if (n == 0)
            closed = true;
        buffer.grow(size_t(n));
    }
    if (std::int64_t(buffer.size()) > limit)
        return fail(error, BodyTooLarge, int(limit));
    // A body cut short is not the document: a cut script must never run.
    if (announced >= 0 && buffer.size() < size_t(announced))
        return fail(error, ShortBody, announced);

    *buffer.end() = '\0';
    const int length = int(buffer.size());
    store->finish(buffer.size());
    *error = Error {};
    return length;
}

// Reads the response to a request sent on fd: its body into store (returns
// the length), or the target of a redirect into *location (returns
// Redirected), or -1 with *error filled in.
int readResponse(int fd, const Settings &settings, const Deadline &deadline, BodyStore *store,
    std::string *location, Error *error)
{
    std::string header;
    std::string rest;
    bool closed = false;
    if (readHeader(fd, settings.timeoutSeconds, deadline, &header, &rest, &closed, error) < 0)
        return -1;

    const std::string_view view(header);
    const size_t version = view.find("HTTP/");
    if (version == std::string_view::npos)
        return fail(error, NoReturnCode);
    const size_t blank = view.find(' ', version);
    int status = 0;
    if (blank == std::string_view::npos || !readNumber(view, blank + 1, &status))
        return fail(error, BadReturnCode);

    if (status < 200 || status > 307)
        return fail(error, BadStatus, status);

    if (status >= 300) {
        const size_t field = fieldValue(view, "Location");
        if (field == std::string_view::npos)
            return fail(error, NoLocation, status);
        size_t from = field;
        while (from < view.size() && (view[from] == ' ' || view[from] == '\t'))
            ++from;
        size_t to = from;
        while (to < view.size() && view[to] != ' ' && view[to] != '\t' && view[to] != '\r'
            && view[to] != '\n')
            ++to;
        if (to == from)
            return fail(error, NoLocation, status);
        *location = std::string(view.substr(from, to - from));
        return Redirected;
    }

    // An answer to an HTTP/1.0 request has no transfer encoding; a chunked
    // one read as it is would be its chunks' framing, and a cut one would
    // look whole.
    const size_t encoding = fieldValue(view, "Transfer-Encoding");
    if (encoding != std::string_view::npos) {
        const size_t end = std::min(view.find('\n', encoding), view.size());
        std::string value(view.substr(encoding, end - encoding));
        value.erase(std::remove_if(value.begin(), value.end(),
                        [](char c) { return c == ' ' || c == '\t' || c == '\r'; }),
            value.end());
        if (value != "identity")
            return fail(error, TransferEncoding);
    }

    int readSize = DefaultReadSize;
    int announced = -1;
    const size_t lengthField = fieldValue(view, "Content-Length");
    if (lengthField != std::string_view::npos) {
        int length = 0;
        if (!readNumber(view, lengthField, &length))
            return fail(error, BadContentLength);
        // The announced length only sizes the reads; the body still runs
        // until the server closes, so keep the reads within sane bounds.
        readSize = std::clamp(length, 4096, MaxReadSize);
        announced = length;
    }
    return readBody(fd, closed, rest, announced, readSize, settings, deadline, store, error);
}

int fetchInto(const char *url, BodyStore *store, const Settings &settings, Error *error)
{
    if (!url)
        return fail(error, NullUrl);

    const Deadline deadline(settings);
    std::string current(url);
    int redirectsFollowed = 0;
    for (;;) {
        const Target target = splitUrl(current);
        Socket socket;
        if (openConnection(target, settings, deadline, &socket, error) < 0)
            return -1;
        if (sendAll(socket.fd(), buildRequest(target, settings), error) < 0)
            return -1;

        std::string newUrl;
        const int result = readResponse(socket.fd(), settings, deadline, store, &newUrl, error);
        if (result != Redirected)
            return result;
        ++redirectsFollowed;
        if (settings.redirects >= 0 && redirectsFollowed > settings.redirects)
            return fail(error, TooManyRedirects, settings.redirects);
        // Servers commonly send a path alone; it names the same host.
        if (newUrl[0] == '/' && newUrl.compare(0, 2, "//") != 0)
            current = "http://" + target.hostPart + newUrl;
        else
            current = newUrl;
    }
}

} // namespace

int fetch(const char *url, char **body, const Settings &settings, Error *error)
{
    Error scratch;
    if (!error)
        error = &scratch;
    if (body)
        *body = nullptr;
    MallocStore store(body);
    return fetchInto(url, &store, settings, error);
}

int fetch(const char *url, QByteArray *body, const Settings &settings, Error *error)
{
    Error scratch;
    if (!error)
        error = &scratch;
    QByteArray scratchBody;
    if (!body)
        body = &scratchBody;
    body->clear();
    ByteArrayStore store(body);
    const int length = fetchInto(url, &store, settings, error);
    if (length < 0)
        body->clear();
    return length;
}

int readResponse(
    int fd, QByteArray *body, std::string *location, const Settings &settings, Error *error)
{
    body->clear();
    location->clear();
    ByteArrayStore store(body);
    const int length = readResponse(fd, settings, Deadline(settings), &store, location, error);
    if (length < 0)
        body->clear();
    return length;
}

std::string errorText(const Error &error)
{
    if (error.source == SystemSource)
        return std::strerror(error.systemError);
    if (error.source == LookupSource)
        return ErrorTexts[NetworkError];
    if (error.source != FetcherSource || error.number < 0 || error.number >= ErrorTextCount)
        return ErrorTexts[InternalError];
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
        g_error = Error {FetcherSource, NullUrl, 0, 0};
        return -1;
    }
    if (!name) {
        g_error = Error {FetcherSource, InternalError, 0, 0};
        return -1;
    }
    const char *lastSlash = std::strrchr(url, '/');
    const char *start = lastSlash ? lastSlash + 1 : url;
    *name = ::strdup(start);
    if (!*name) {
        g_error = Error {SystemSource, NetworkError, 0, ENOMEM};
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
