#include "HttpTransport.h"

#include "SiteTls.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QSslSocket>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

using namespace HttpFetcher;

namespace {

int fail(Error *error, int number, int param = 0)
{
    *error = Error {FetcherSource, number, param, 0, {}};
    return -1;
}

int failSystem(Error *error, int systemError)
{
    *error = Error {SystemSource, NetworkError, 0, systemError, {}};
    return -1;
}

int failLookup(Error *error)
{
    *error = Error {LookupSource, NetworkError, 0, 0, {}};
    return -1;
}

int failTls(Error *error, const QString &reason)
{
    *error = Error {FetcherSource, TlsFailed, 0, 0, reason.toStdString()};
    return -1;
}

// A wait of its own: 0 and negative leave it to the deadline, for connects
// and reads alike.
int waitMilliseconds(int seconds)
{
    if (seconds <= 0)
        return -1;
    return seconds > INT_MAX / 1000 ? INT_MAX : seconds * 1000;
}

using SteadyClock = std::chrono::steady_clock;

long long millisecondsUntil(SteadyClock::time_point end)
{
    return std::max<long long>(
        0, std::chrono::ceil<std::chrono::milliseconds>(end - SteadyClock::now()).count());
}

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
    long long left() const { return m_bounded ? millisecondsUntil(m_end) : -1; }
    int fail(Error *error) const
    {
        return aborted() ? ::fail(error, Aborted) : ::fail(error, DeadlinePassed, m_milliseconds);
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

// Waits in slices for ready(slice) (1 ready, 0 not yet, -1 error with errno):
// ready, the wait's own expiry (milliseconds, negative without limit), the
// fetch's deadline or abort (WaitEnded), or an error.
template<typename Ready> int waitFor(int milliseconds, const Deadline &deadline, Ready ready)
{
    const SteadyClock::time_point waitEnd = milliseconds < 0
        ? SteadyClock::time_point::max()
        : SteadyClock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        if (deadline.aborted())
            return WaitEnded;
        long long slice = deadline.left();
        if (milliseconds >= 0) {
            const long long waitLeft = millisecondsUntil(waitEnd);
            slice = slice < 0 ? waitLeft : std::min(slice, waitLeft);
        }
        if (deadline.hasAbortCheck())
            slice = slice < 0 ? AbortPollMilliseconds : std::min(slice, AbortPollMilliseconds);
        const int result = ready(int(std::min<long long>(slice, INT_MAX)));
        if (result != 0)
            return result < 0 ? WaitError : WaitReady;
        if (deadline.passed())
            return WaitEnded;
        if (milliseconds >= 0 && SteadyClock::now() >= waitEnd)
            return WaitTimedOut;
    }
}

// poll() rather than select(): a descriptor number above FD_SETSIZE must not
// write past an fd_set.
int pollOnce(int fd, short events, int milliseconds)
{
    for (;;) {
        pollfd p {fd, events, 0};
        const int result = ::poll(&p, 1, milliseconds);
        if (result < 0 && errno == EINTR)
            continue;
        return result;
    }
}

// Where the bytes of one connection go: a plain socket, or TLS over it.
class Stream
{
public:
    virtual ~Stream() = default;
    // 1 readable (or ended), 0 not within milliseconds, -1 with errno.
    virtual int poll(int milliseconds) = 0;
    // Bytes read, 0 at the end, -1 with errno.
    virtual ssize_t receive(char *data, size_t size) = 0;
    virtual bool sendAll(const std::string &data) = 0;
};

class PlainStream : public Stream
{
public:
    explicit PlainStream(int fd, bool owned = true)
        : m_fd(fd)
        , m_owned(owned)
    { }
    ~PlainStream() override
    {
        if (m_owned && m_fd >= 0)
            ::close(m_fd);
    }
    int poll(int milliseconds) override { return pollOnce(m_fd, POLLIN, milliseconds); }
    ssize_t receive(char *data, size_t size) override
    {
        for (;;) {
            const ssize_t n = ::recv(m_fd, data, size, 0);
            if (n >= 0 || errno != EINTR)
                return n;
        }
    }
    bool sendAll(const std::string &data) override
    {
        size_t sent = 0;
        while (sent < data.size()) {
            const ssize_t n = ::send(m_fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return false;
            sent += size_t(n);
        }
        return true;
    }

private:
    int m_fd;
    bool m_owned;
};

class TlsStream : public Stream
{
public:
    explicit TlsStream(std::unique_ptr<QSslSocket> socket)
        : m_socket(std::move(socket))
    {
        // A terminator's close_notify ends the body but not the TCP connection
        // (the terminator waits for ours), and a wait that reads it runs on to
        // its timeout, which then replaces the error: the signal is kept.
        QObject::connect(m_socket.get(), &QAbstractSocket::errorOccurred,
            [this](QAbstractSocket::SocketError error) {
                if (error == QAbstractSocket::RemoteHostClosedError)
                    m_peerClosed = true;
            });
    }
    ~TlsStream() override { m_socket->abort(); }
    int poll(int milliseconds) override
    {
        const QDeadlineTimer until = milliseconds < 0 ? QDeadlineTimer(QDeadlineTimer::Forever)
                                                      : QDeadlineTimer(qint64(milliseconds));
        for (;;) {
            if (m_socket->bytesAvailable() > 0 || ended())
                return 1;
            const qint64 left = until.remainingTime();
            const int step = int(
                left < 0 ? CloseStepMilliseconds : std::min<qint64>(left, CloseStepMilliseconds));
            if (m_socket->waitForReadyRead(step))
                continue;
            if (ended())
                return 1;
            if (m_socket->error() != QAbstractSocket::SocketTimeoutError) {
                errno = ECONNRESET;
                return -1;
            }
            if (until.hasExpired())
                return 0;
        }
    }
    ssize_t receive(char *data, size_t size) override
    {
        if (m_socket->bytesAvailable() == 0 && ended())
            return 0;
        const qint64 n = m_socket->read(data, qint64(size));
        if (n < 0)
            errno = ECONNRESET;
        return ssize_t(n);
    }
    bool sendAll(const std::string &data) override
    {
        if (m_socket->write(data.data(), qint64(data.size())) != qint64(data.size()))
            return false;
        // Without an event loop the socket encrypts and sends only when told to.
        for (int tries = 0; tries < 50; ++tries) {
            m_socket->flush();
            if (m_socket->encryptedBytesToWrite() == 0 && m_socket->bytesToWrite() == 0)
                return true;
            if (!m_socket->waitForBytesWritten(int(AbortPollMilliseconds))
                && m_socket->state() != QAbstractSocket::ConnectedState)
                return false;
        }
        return false;
    }

private:
    static constexpr int CloseStepMilliseconds = 50;

    bool ended() const
    {
        return m_peerClosed || m_socket->state() != QAbstractSocket::ConnectedState
            || m_socket->error() == QAbstractSocket::RemoteHostClosedError;
    }
    std::unique_ptr<QSslSocket> m_socket;
    bool m_peerClosed = false;
};

// One address of a looked-up name, copied out of getaddrinfo's list.
struct Address
{
    int family = 0;
    int type = 0;
    int protocol = 0;
    sockaddr_storage storage {};
    socklen_t length = 0;
};

std::vector<Address> copyAddresses(const addrinfo *list)
{
    std::vector<Address> addresses;
    for (const addrinfo *a = list; a; a = a->ai_next) {
        if (a->ai_addrlen > sizeof(sockaddr_storage))
            continue;
        Address address;
        address.family = a->ai_family;
        address.type = a->ai_socktype;
        address.protocol = a->ai_protocol;
        std::memcpy(&address.storage, a->ai_addr, a->ai_addrlen);
        address.length = a->ai_addrlen;
        addresses.push_back(address);
    }
    return addresses;
}

// getaddrinfo() has no timeout of its own. One thread looks names up for the
// whole process, so a lookup given up on leaves nothing behind, and asking
// again for a name still being looked up waits for the same lookup.
class Resolver
{
public:
    struct Lookup
    {
        bool finished = false;
        bool found = false;
        std::vector<Address> addresses;
    };

    ~Resolver()
    {
        std::unique_lock<std::mutex> lock(m_state->mutex);
        if (!m_thread.joinable())
            return;
        m_state->stop = true;
        m_state->wake.notify_all();
        // A lookup stuck in the system resolver cannot be interrupted; the
        // process ending must not wait out its timeouts. A thread left
        // behind keeps the state it shares alive.
        if (m_state->done.wait_for(
                lock, std::chrono::milliseconds(200), [this] { return m_state->exited; })) {
            lock.unlock();
            m_thread.join();
        } else {
            m_thread.detach();
        }
    }

    void setFunction(HttpTransport::LookupFunction function)
    {
        const std::lock_guard<std::mutex> lock(m_state->mutex);
        m_state->function = std::move(function);
    }

    // 0 with *addresses, -1 when the name does not resolve or the wait ends
    // at its limit, WaitEnded at the deadline or an abort.
    int resolve(const std::string &host, const std::string &port, long long limitMs,
        const Deadline &deadline, std::vector<Address> *addresses)
    {
        State &state = *m_state;
        std::unique_lock<std::mutex> lock(state.mutex);
        if (!start())
            return -1;
        std::shared_ptr<Lookup> &slot = state.pending[host + '\n' + port];
        if (!slot) {
            slot = std::make_shared<Lookup>();
            state.queue.emplace_back(host, port);
            state.wake.notify_all();
        }
        const std::shared_ptr<Lookup> lookup = slot;
        const SteadyClock::time_point end = SteadyClock::now() + std::chrono::milliseconds(limitMs);
        while (!lookup->finished) {
            if (deadline.aborted() || deadline.passed())
                return WaitEnded;
            long long slice = millisecondsUntil(end);
            if (slice == 0)
                return -1;
            if (deadline.hasAbortCheck())
                slice = std::min(slice, AbortPollMilliseconds);
            state.done.wait_for(lock, std::chrono::milliseconds(slice));
        }
        if (!lookup->found)
            return -1;
        *addresses = lookup->addresses;
        return 0;
    }

private:
    struct State
    {
        std::mutex mutex;
        std::condition_variable wake;
        std::condition_variable done;
        std::deque<std::pair<std::string, std::string>> queue;
        std::map<std::string, std::shared_ptr<Lookup>> pending;
        HttpTransport::LookupFunction function;
        bool stop = false;
        bool exited = false;
    };

    bool start()
    {
        if (m_thread.joinable())
            return true;
        // The thread inherits the mask: the quit signals go to the threads
        // that handle them, never to one stuck in the resolver.
        sigset_t quitSignals;
        sigset_t previous;
        sigemptyset(&quitSignals);
        sigaddset(&quitSignals, SIGTERM);
        sigaddset(&quitSignals, SIGINT);
        sigaddset(&quitSignals, SIGHUP);
        pthread_sigmask(SIG_BLOCK, &quitSignals, &previous);
        try {
            m_thread = std::thread([state = m_state] { run(*state); });
        } catch (const std::system_error &) { }
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
        return m_thread.joinable();
    }

    static void run(State &state)
    {
        pthread_setname_np(pthread_self(), "http-resolver");
        std::unique_lock<std::mutex> lock(state.mutex);
        for (;;) {
            state.wake.wait(lock, [&state] { return state.stop || !state.queue.empty(); });
            if (state.stop)
                break;
            const auto [host, port] = state.queue.front();
            state.queue.pop_front();
            const HttpTransport::LookupFunction function = state.function;
            lock.unlock();

            addrinfo hints {};
            hints.ai_family = AF_UNSPEC;
            hints.ai_socktype = SOCK_STREAM;
            hints.ai_flags = AI_NUMERICSERV;
            addrinfo *found = nullptr;
            const int result = function ? function(host.c_str(), port.c_str(), &hints, &found)
                                        : ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found);
            std::vector<Address> addresses;
            if (result == 0 && found)
                addresses = copyAddresses(found);
            if (found && !function)
                ::freeaddrinfo(found);

            lock.lock();
            const auto entry = state.pending.find(host + '\n' + port);
            if (entry != state.pending.end()) {
                entry->second->found = !addresses.empty();
                entry->second->addresses = std::move(addresses);
                entry->second->finished = true;
                state.pending.erase(entry);
            }
            state.done.notify_all();
        }
        state.exited = true;
        state.done.notify_all();
    }

    const std::shared_ptr<State> m_state = std::make_shared<State>();
    std::thread m_thread;
};

Resolver &resolver()
{
    static Resolver instance;
    return instance;
}

int resolve(const std::string &host, const std::string &port, const Settings &settings,
    const Deadline &deadline, std::vector<Address> *addresses)
{
    addrinfo hints {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV | AI_NUMERICHOST;
    // An address needs no lookup, and the client's are addresses mostly.
    addrinfo *numeric = nullptr;
    const int result = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &numeric);
    if (result == 0) {
        *addresses = copyAddresses(numeric);
        ::freeaddrinfo(numeric);
        return addresses->empty() ? -1 : 0;
    }
    if (result != EAI_NONAME)
        return -1;
    // Bounded whatever the settings: by the deadline, else by the wait's own
    // timeout, else by a limit of its own.
    long long limit = HttpTransport::LookupLimitMilliseconds;
    if (deadline.left() >= 0)
        limit = std::min(limit, deadline.left());
    if (waitMilliseconds(settings.timeoutSeconds) >= 0)
        limit = std::min<long long>(limit, waitMilliseconds(settings.timeoutSeconds));
    return resolver().resolve(host, port, limit, deadline, addresses);
}

// A connect to a host that does not answer would otherwise hang for minutes.
// Returns 0, -1 with errno set, or WaitEnded.
int connectWithin(int fd, const Address &address, int timeoutSeconds, const Deadline &deadline)
{
    const int flags = ::fcntl(fd, F_GETFL, 0);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address.storage), address.length) < 0) {
        if (errno != EINPROGRESS)
            return -1;
        const int ready = waitFor(waitMilliseconds(timeoutSeconds), deadline,
            [fd](int slice) { return pollOnce(fd, POLLOUT, slice); });
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

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(uchar(x)) == std::tolower(uchar(y));
    });
}

struct Target
{
    std::string hostPart; // as written, port included: the Host header
    std::string host;
    std::string port;
    std::string path;
    bool https = false;
};

Target splitUrl(const std::string &url)
{
    Target target;
    const size_t scheme = url.find("://");
    const size_t start = scheme == std::string::npos ? 0 : scheme + 3;
    target.https = scheme == 5 && sameName(std::string_view(url).substr(0, 5), "https");
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
        target.port = target.https ? "443" : "80";
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

// TLS over the connected socket fd, verified against the site's CAs and
// bound to the host's name. On failure nothing has been sent but the
// handshake.
int startTls(int fd, const Target &target, int port, const SiteTls &site,
    const QSslConfiguration &configuration, const Deadline &deadline,
    std::unique_ptr<Stream> *stream, Error *error)
{
    auto socket = std::make_unique<QSslSocket>();
    if (!socket->setSocketDescriptor(fd)) {
        ::close(fd);
        return failTls(error, site.describeNotTls(port));
    }
    socket->setSslConfiguration(configuration);
    socket->setPeerVerifyName(QString::fromStdString(target.host));
    socket->startClientEncryption();

    const auto started = SteadyClock::now();
    const SteadyClock::time_point end
        = started + std::chrono::milliseconds(SiteTls::HandshakeTimeoutMs);
    for (;;) {
        if (deadline.aborted())
            return fail(error, Aborted);
        long long slice = millisecondsUntil(end);
        if (deadline.left() >= 0)
            slice = std::min(slice, deadline.left());
        if (slice == 0) {
            const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
                SteadyClock::now() - started);
            return failTls(error, site.describeHandshakeTimeout(port, int(waited.count())));
        }
        if (deadline.hasAbortCheck())
            slice = std::min(slice, AbortPollMilliseconds);
        if (socket->waitForEncrypted(int(slice)))
            break;
        if (!socket->sslHandshakeErrors().isEmpty())
            return failTls(error, site.describe(socket->sslHandshakeErrors()));
        if (socket->error() != QAbstractSocket::SocketTimeoutError
            || socket->state() != QAbstractSocket::ConnectedState)
            return failTls(error, site.describeNotTls(port));
    }
    *stream = std::make_unique<TlsStream>(std::move(socket));
    return 0;
}

// tls: the host, port and CAs to reach target through, or null for plaintext.
int openConnection(const Target &target, const SiteTls *tls, const Settings &settings,
    const Deadline &deadline, std::unique_ptr<Stream> *stream, Error *error)
{
    if (target.host.empty() || !isValidPort(target.port))
        return failLookup(error);
    QSslConfiguration configuration;
    std::string port = target.port;
    if (tls) {
        QString reason;
        if (!tls->configuration(&configuration, &reason))
            return failTls(error, reason);
        port = std::to_string(tls->httpsPort);
    }
    std::vector<Address> addresses;
    const int resolved = resolve(target.host, port, settings, deadline, &addresses);
    if (resolved == WaitEnded)
        return deadline.fail(error);
    if (resolved != 0)
        return failLookup(error);

    int lastError = ECONNREFUSED;
    for (const Address &address : addresses) {
        const int fd = ::socket(address.family, address.type | SOCK_CLOEXEC, address.protocol);
        if (fd < 0) {
            lastError = errno;
            continue;
        }
        const int connected = connectWithin(fd, address, settings.timeoutSeconds, deadline);
        if (connected == 0) {
            if (tls)
                return startTls(
                    fd, target, tls->httpsPort, *tls, configuration, deadline, stream, error);
            *stream = std::make_unique<PlainStream>(fd);
            return 0;
        }
        lastError = errno;
        ::close(fd);
        if (connected == WaitEnded)
            return deadline.fail(error);
    }
    return failSystem(error, lastError);
}

// Reads until the first empty line (carriage returns do not count). A line
// longer than HeaderLineLimit or a header longer than HeaderLimit is refused:
// what follows could not be told apart from the body. Bytes read past the
// header belong to the body and are left in *rest.
int readHeader(Stream *stream, int timeoutSeconds, const Deadline &deadline, std::string *header,
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
        const int ready = waitFor(waitMilliseconds(timeoutSeconds), deadline,
            [stream](int slice) { return stream->poll(slice); });
        if (ready == WaitEnded)
            return deadline.fail(error);
        if (ready == WaitTimedOut)
            return fail(error, HeaderTimeout, timeoutSeconds);
        if (ready == WaitError)
            return failSystem(error, errno);
        const ssize_t n = stream->receive(chunk, std::min(sizeof(chunk), HeaderLimit - raw.size()));
        if (n < 0)
            return failSystem(error, errno);
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

// The values of every header field name (matched whole and without regard to
// case, so Location: is never found inside Content-Location:), each up to its
// line's end.
std::vector<std::string_view> fieldValues(std::string_view header, std::string_view name)
{
    std::vector<std::string_view> values;
    size_t line = 0;
    while (line < header.size()) {
        const size_t end = std::min(header.find('\n', line), header.size());
        const std::string_view text = header.substr(line, end - line);
        if (text.size() > name.size() && text[name.size()] == ':'
            && sameName(text.substr(0, name.size()), name))
            values.push_back(text.substr(name.size() + 1));
        line = end + 1;
    }
    return values;
}

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\r';
    };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// An unsigned decimal number at the start of text, blanks skipped; false
// without digits or past INT_MAX. whole: nothing but blanks may follow.
bool readNumber(std::string_view text, int *value, bool whole)
{
    size_t pos = 0;
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
    if (digits == 0 || (whole && !trimmed(text.substr(pos)).empty()))
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
int readBody(Stream *stream, bool closed, const std::string &start, int announced, int readSize,
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
        // Bytes past the announced length mean the length was a lie.
        if (announced >= 0 && buffer.size() > size_t(announced))
            return fail(error, BodyTooLong, announced);
        if (buffer.room() <= 1 && !buffer.reserve(buffer.size() + size_t(readSize) + 1))
            return failSystem(error, ENOMEM);
        const int ready = waitFor(waitMilliseconds(settings.timeoutSeconds), deadline,
            [stream](int slice) { return stream->poll(slice); });
        if (ready == WaitEnded)
            return deadline.fail(error);
        if (ready == WaitTimedOut)
            return fail(error, DataTimeout, settings.timeoutSeconds);
        if (ready == WaitError)
            return failSystem(error, errno);
        const size_t chunk = std::min(buffer.room() - 1, size_t(readSize));
        const ssize_t n = stream->receive(buffer.end(), chunk);
        if (n < 0)
            return failSystem(error, errno);
        if (n == 0)
            closed = true;
        buffer.grow(size_t(n));
    }
    if (std::int64_t(buffer.size()) > limit)
        return fail(error, BodyTooLarge, int(limit));
    if (announced >= 0 && buffer.size() > size_t(announced))
        return fail(error, BodyTooLong, announced);
    // A body cut short is not the document: a cut script must never run.
    if (announced >= 0 && buffer.size() < size_t(announced))
        return fail(error, ShortBody, announced);

    *buffer.end() = '\0';
    const int length = int(buffer.size());
    store->finish(buffer.size());
    *error = Error {};
    return length;
}

// Reads the response to a request sent on stream: its body into store
// (returns the length), or the target of a redirect into *location (returns
// Redirected), or -1 with *error filled in.
int readResponse(Stream *stream, const Settings &settings, const Deadline &deadline,
    BodyStore *store, std::string *location, Error *error)
{
    std::string header;
    std::string rest;
    bool closed = false;
    if (readHeader(stream, settings.timeoutSeconds, deadline, &header, &rest, &closed, error) < 0)
        return -1;

    const std::string_view view(header);
    const size_t version = view.find("HTTP/");
    if (version == std::string_view::npos)
        return fail(error, NoReturnCode, int(header.size()));
    const size_t blank = view.find(' ', version);
    int status = 0;
    if (blank == std::string_view::npos || !readNumber(view.substr(blank + 1), &status, false))
        return fail(error, BadReturnCode);

    if (status < 200 || status > 307)
        return fail(error, BadStatus, status);

    if (status >= 300) {
        const std::vector<std::string_view> locations = fieldValues(view, "Location");
        if (locations.empty())
            return fail(error, NoLocation, status);
        const std::string_view value = trimmed(locations.front());
        const size_t to = std::min(value.find_first_of(" \t"), value.size());
        if (to == 0)
            return fail(error, NoLocation, status);
        *location = std::string(value.substr(0, to));
        return Redirected;
    }

    // An answer to an HTTP/1.0 request has no transfer encoding; a chunked
    // one read as it is would be its chunks' framing, and a cut one would
    // look whole.
    for (const std::string_view encoding : fieldValues(view, "Transfer-Encoding")) {
        if (trimmed(encoding) != "identity")
            return fail(error, TransferEncoding);
    }

    int readSize = DefaultReadSize;
    int announced = -1;
    // Two lengths that differ leave the body's end to whoever reads it:
    // refused, as is a length with anything after its digits.
    for (const std::string_view field : fieldValues(view, "Content-Length")) {
        int length = 0;
        if (!readNumber(field, &length, true))
            return fail(error, BadContentLength);
        if (announced >= 0 && length != announced)
            return fail(error, ContentLengthTwice);
        announced = length;
        readSize = std::clamp(length, 4096, MaxReadSize);
    }
    return readBody(stream, closed, rest, announced, readSize, settings, deadline, store, error);
}

int fetchInto(const char *url, BodyStore *store, const Settings &settings, Error *error)
{
    if (!url)
        return fail(error, NullUrl);

    const Deadline deadline(settings);
    std::string current(url);
    int redirectsFollowed = 0;
    std::string encryptedHost;
    for (;;) {
        const Target target = splitUrl(current);
        // The site's host goes through its terminator whatever the URL says;
        // another host is encrypted when its URL asks for it, against the
        // system's CAs.
        SiteTls tls;
        if (HttpTransport::usesTls(
                QString::fromStdString(target.host), std::atoi(target.port.c_str()))) {
            tls = SiteTls::current();
        } else if (target.https) {
            tls.enabled = true;
            tls.host = QString::fromStdString(target.host);
            tls.httpsPort = std::atoi(target.port.c_str());
        }
        // Once encrypted, a fetch never goes on in plaintext.
        if (!encryptedHost.empty() && !tls.enabled)
            return failTls(error,
                QStringLiteral("redirect from %1 to a plaintext address refused: %2")
                    .arg(QString::fromStdString(encryptedHost),
                        QString::fromStdString(target.hostPart)));
        if (tls.enabled)
            encryptedHost = target.host;
        std::unique_ptr<Stream> stream;
        if (openConnection(target, tls.enabled ? &tls : nullptr, settings, deadline, &stream, error)
            < 0)
            return -1;
        if (!stream->sendAll(buildRequest(target, settings)))
            return failSystem(error, errno ? errno : ECONNRESET);

        std::string newUrl;
        const int result = readResponse(stream.get(), settings, deadline, store, &newUrl, error);
        if (result != Redirected)
            return result;
        ++redirectsFollowed;
        if (settings.redirects >= 0 && redirectsFollowed > settings.redirects)
            return fail(error, TooManyRedirects, settings.redirects);
        // Servers commonly send a path alone; it names the same host.
        if (newUrl[0] == '/' && newUrl.compare(0, 2, "//") != 0)
            current = (target.https ? "https://" : "http://") + target.hostPart + newUrl;
        else
            current = newUrl;
    }
}

} // namespace

int HttpTransport::fetch(const char *url, char **body, const Settings &settings, Error *error)
{
    Error scratch;
    if (!error)
        error = &scratch;
    if (body)
        *body = nullptr;
    MallocStore store(body);
    return fetchInto(url, &store, settings, error);
}

int HttpTransport::fetch(const char *url, QByteArray *body, const Settings &settings, Error *error)
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

int HttpTransport::readResponse(
    int fd, QByteArray *body, std::string *location, const Settings &settings, Error *error)
{
    body->clear();
    location->clear();
    ByteArrayStore store(body);
    PlainStream stream(fd, false);
    const int length
        = ::readResponse(&stream, settings, Deadline(settings), &store, location, error);
    if (length < 0)
        body->clear();
    return length;
}

bool HttpTransport::usesTls(const QString &host, int port)
{
    const SiteTls site = SiteTls::current();
    if (!site.covers(host))
        return false;
    QString bare = host;
    if (bare.startsWith(QLatin1Char('[')))
        bare = bare.mid(1, bare.size() - 2);
    return !(port == ReservationPort && QHostAddress(bare).isLoopback());
}

void HttpTransport::setLookupFunction(LookupFunction lookup)
{
    resolver().setFunction(std::move(lookup));
}
