#include "tests/support/loopback_tiles.h"

#include "tests/support/loopback_socket.h"

#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kSliceMs = 20;

bool ReadHead(int fd, QByteArray& head) {
    char buffer[1024];
    while (!head.contains("\r\n\r\n")) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 5000) <= 0)
            return false;
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            return false;
        head.append(buffer, n);
    }
    return true;
}

} // namespace

LoopbackTiles::LoopbackTiles() {
    listenFd_ = ListenOnLoopback(port_);
    thread_ = std::jthread([this](std::stop_token stop) { Serve(stop); });
}

LoopbackTiles::~LoopbackTiles() {
    thread_.request_stop();
    thread_.join();
    ::close(listenFd_);
}

void LoopbackTiles::Reply(const QByteArray& body) {
    std::lock_guard lock(mutex_);
    script_.emplace_back(body);
}

QString LoopbackTiles::Prefix() const {
    return QStringLiteral("http://127.0.0.1:%1/kh?v=5&n=404&t=t").arg(port_);
}

void LoopbackTiles::Serve(const std::stop_token& stop) {
    while (!stop.stop_requested()) {
        pollfd p{listenFd_, POLLIN, 0};
        if (poll(&p, 1, kSliceMs) <= 0)
            continue;
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        Answer(fd);
        ::close(fd);
    }
}

void LoopbackTiles::Answer(int fd) {
    QByteArray head;
    if (!ReadHead(fd, head))
        return;
    // "GET <target> HTTP/1.0"
    const QList<QByteArray> words = head.left(head.indexOf("\r\n")).split(' ');
    std::optional<QByteArray> body;
    {
        std::lock_guard lock(mutex_);
        if (words.size() >= 2)
            requests.append(QStringLiteral("http://127.0.0.1:%1").arg(port_) +
                            QString::fromLatin1(words[1]));
        if (!script_.empty()) {
            body = script_.front();
            script_.pop_front();
        }
    }
    if (!body) {
        SendAll(fd, "HTTP/1.0 404 Not Found\r\nConnection: close\r\nContent-Length: 0\r\n\r\n");
        return;
    }
    SendAll(fd,
            "HTTP/1.0 200 OK\r\nConnection: close\r\nContent-Type: image/jpeg\r\nContent-Length: " +
                QByteArray::number(body->size()) + "\r\n\r\n" + *body);
}
