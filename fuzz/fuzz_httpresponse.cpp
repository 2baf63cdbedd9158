#include "HttpFetcher.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

// A server's whole response, then its close, read by the fetcher from a
// socket pair: no network, and the same bytes give the same reads. A body
// it returns is the end of what the server sent, never over the limit.

namespace {
// Small enough that the response fits the socket's buffer in one write.
constexpr size_t MaxResponse = 64 * 1024;
constexpr int BodyLimit = 8 * 1024;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > MaxResponse)
        return 0;
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
        __builtin_trap();
    const int buffer = int(MaxResponse * 2);
    ::setsockopt(fds[1], SOL_SOCKET, SO_SNDBUF, &buffer, sizeof buffer);
    if (size > 0 && ::send(fds[1], data, size, MSG_NOSIGNAL) != ssize_t(size))
        __builtin_trap();
    ::close(fds[1]);

    HttpFetcher::Settings settings;
    settings.timeoutSeconds = 1;
    settings.maxBodySize = BodyLimit;
    QByteArray body;
    std::string location;
    HttpFetcher::Error error;
    const int result = HttpFetcher::readResponse(fds[0], &body, &location, settings, &error);
    ::close(fds[0]);

    if (result >= 0) {
        if (result != body.size() || result > BodyLimit || size_t(result) > size
            || std::memcmp(body.constData(), data + size - size_t(result), size_t(result)) != 0)
            __builtin_trap();
    } else if (result == HttpFetcher::Redirected) {
        if (location.empty() || !body.isEmpty())
            __builtin_trap();
    } else if (result != -1 || error.number == HttpFetcher::Success || !body.isEmpty()) {
        __builtin_trap();
    }
    (void)HttpFetcher::errorText(error);
    return 0;
}
