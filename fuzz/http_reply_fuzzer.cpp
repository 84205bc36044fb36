// SPDX-License-Identifier: GPL-3.0-or-later
// The reply head and body readers over one end of a socket pair whose other end has sent the
// input and closed. Replies are read one after the other, as on a connection that is kept,
// until one fails or the input is used up.
#include "fuzz/fuzz_check.h"
#include "net/http_body.h"
#include "net/http_reply_head.h"
#include "net/http_reply_reader.h"
#include "net/tcp_socket.h"

#include <cstddef>
#include <cstdint>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Small enough that inputs can cross it, so that both sides of every size check are reached.
constexpr qint64 kBodyLimit = 2048;
constexpr int kMostReplies = 4;

// Sends what the socket buffer takes (all of it at the sizes libFuzzer tries) and closes.
void SendAndClose(int fd, const std::uint8_t* data, std::size_t size) {
    const int buffer = 1 << 22;
    setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &buffer, sizeof buffer);
    std::size_t sent = 0;
    while (sent < size) {
        const ssize_t n = ::send(fd, data + sent, size - sent, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n <= 0)
            break;
        sent += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
        std::abort();
    TcpSocket socket(fds[0]);
    SendAndClose(fds[1], data, size);

    HttpReplyReader reader(socket, SocketWait{.timeout = std::chrono::milliseconds(1000)});
    for (int i = 0; i < kMostReplies; ++i) {
        HttpReplyHead head;
        if (ReadReplyHead(reader, head))
            break;
        QByteArray body;
        const std::optional<QString> failed = ReadReplyBody(reader, head, kBodyLimit, body);
        FUZZ_CHECK(body.size() <= kBodyLimit);
        if (failed) {
            FUZZ_CHECK(!failed->isEmpty());
            break;
        }
    }
    return 0;
}
