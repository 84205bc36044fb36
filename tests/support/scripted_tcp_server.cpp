// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/scripted_tcp_server.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Step = ConnectionScript::Step;
using Clock = std::chrono::steady_clock;

// Every wait is cut into slices this long so that a stop request is noticed quickly.
constexpr int kSliceMs = 20;

class FdCloser {
public:
    explicit FdCloser(int fd) : fd_(fd) {}
    ~FdCloser() { ::close(fd_); }
    FdCloser(const FdCloser&) = delete;
    FdCloser& operator=(const FdCloser&) = delete;

private:
    int fd_;
};

bool WaitReadable(int fd, const std::stop_token& stop, Clock::time_point deadline) {
    while (!stop.stop_requested() && Clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, kSliceMs) > 0)
            return true;
    }
    return false;
}

bool SendAll(int fd, const QByteArray& bytes) {
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.constData() + sent,
                                 static_cast<size_t>(bytes.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += n;
    }
    return true;
}

} // namespace

ConnectionScript& ConnectionScript::Reply(QByteArray reply) {
    steps_.push_back({Step::Kind::AwaitRequest, {}, {}});
    return Send(std::move(reply));
}

ConnectionScript& ConnectionScript::Send(QByteArray bytes) {
    steps_.push_back({Step::Kind::Send, std::move(bytes), {}});
    return *this;
}

ConnectionScript& ConnectionScript::Pause(std::chrono::milliseconds time) {
    steps_.push_back({Step::Kind::Pause, {}, time});
    return *this;
}

ConnectionScript& ConnectionScript::Stall() {
    steps_.push_back({Step::Kind::Stall, {}, {}});
    return *this;
}

ScriptedTcpServer::ScriptedTcpServer(std::vector<ConnectionScript> scripts, Responder afterScripts)
    : scripts_(std::move(scripts)), afterScripts_(std::move(afterScripts)) {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0)
        throw std::runtime_error("socket failed");
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(listenFd_, 16) != 0 ||
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        ::close(listenFd_);
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    port_ = ntohs(addr.sin_port);
    thread_ = std::jthread([this](std::stop_token stop) { Serve(stop); });
}

ScriptedTcpServer::~ScriptedTcpServer() {
    thread_.request_stop();
    thread_.join();
    ::close(listenFd_);
}

QString ScriptedTcpServer::Url(const QString& target) const {
    return QStringLiteral("http://127.0.0.1:%1").arg(port_) + target;
}

std::vector<QByteArray> ScriptedTcpServer::Received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

int ScriptedTcpServer::AcceptedCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(received_.size());
}

void ScriptedTcpServer::Record(size_t index, const char* data, qsizetype size) {
    std::lock_guard lock(mutex_);
    received_[index].append(data, size);
}

void ScriptedTcpServer::Serve(std::stop_token stop) {
    for (size_t index = 0; !stop.stop_requested();) {
        if (!WaitReadable(listenFd_, stop, Clock::time_point::max()))
            return;
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        {
            std::lock_guard lock(mutex_);
            received_.emplace_back();
        }
        const ConnectionScript* script = index < scripts_.size() ? &scripts_[index] : nullptr;
        Play(stop, fd, script, index);
        ++index;
    }
}

void ScriptedTcpServer::Play(std::stop_token stop, int fd, const ConnectionScript* script,
                             size_t index) {
    const FdCloser closer(fd);
    char buffer[65536];
    QByteArray unread; // bytes received since the last whole request
    // Reads what is there; false once the client has closed or the server stops.
    auto receive = [&](Clock::time_point deadline) {
        if (!WaitReadable(fd, stop, deadline))
            return !stop.stop_requested();
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            return false;
        Record(index, buffer, n);
        unread.append(buffer, n);
        return true;
    };

    // The next whole request's head, or nothing once the client has closed.
    auto awaitRequest = [&]() -> std::optional<QByteArray> {
        qsizetype end;
        while ((end = unread.indexOf("\r\n\r\n")) < 0) {
            if (!receive(Clock::time_point::max()))
                return std::nullopt;
        }
        const QByteArray head = unread.left(end);
        unread.remove(0, end + 4);
        return head;
    };

    const std::vector<Step> none;
    for (const Step& step : script ? script->steps() : none) {
        switch (step.kind) {
        case Step::Kind::AwaitRequest:
            if (!awaitRequest())
                return;
            break;
        case Step::Kind::Send:
            if (!SendAll(fd, step.bytes))
                return;
            break;
        case Step::Kind::Pause: {
            const Clock::time_point until = Clock::now() + step.time;
            while (Clock::now() < until && !stop.stop_requested()) {
                if (!receive(until))
                    return;
            }
            break;
        }
        case Step::Kind::Stall:
            while (receive(Clock::time_point::max())) {
            }
            return;
        }
    }
    if (!script && afterScripts_) {
        const std::optional<QByteArray> request = awaitRequest();
        if (!request || !SendAll(fd, afterScripts_(*request)))
            return;
    }
    // A clean end: the client sees the close after everything that was sent, and bytes it
    // sent meanwhile are taken in so that the close is not turned into a reset.
    ::shutdown(fd, SHUT_WR);
    for (ssize_t n; (n = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT)) > 0;)
        Record(index, buffer, n);
}
