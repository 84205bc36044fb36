// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz/loopback_peer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

// A client under test that stops talking must not stall the peer for longer than this.
constexpr int kStallSeconds = 5;

[[noreturn]] void Fail(const char* what) {
    std::perror(what);
    std::abort();
}

void SetTimeouts(int fd) {
    const timeval limit{kStallSeconds, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
}

bool Readable(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, timeoutMs) > 0;
}

} // namespace

LoopbackPeer::LoopbackPeer() {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC);
    if (listenFd_ < 0 || wakeFd_ < 0)
        Fail("loopback peer");
    const int on = 1;
    setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(listenFd_, 64) != 0 ||
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        Fail("listening on 127.0.0.1");
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

LoopbackPeer::~LoopbackPeer() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    const std::uint64_t one = 1;
    (void)!::write(wakeFd_, &one, sizeof one);
    thread_.join();
    ::close(listenFd_);
    ::close(wakeFd_);
}

void LoopbackPeer::Begin(std::vector<QByteArray> replies) {
    const std::lock_guard lock(mutex_);
    replies_ = std::move(replies);
    requests_.clear();
    ending_ = false;
    done_ = false;
}

void LoopbackPeer::End() {
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    const std::uint64_t one = 1;
    (void)!::write(wakeFd_, &one, sizeof one);
    std::unique_lock lock(mutex_);
    ended_.wait(lock, [this] { return done_; });
}

// True when the execution is over: End was called and no connection waits to be accepted.
// Every connection the client made is complete by then, so none can turn up later.
bool LoopbackPeer::Ending() {
    {
        const std::lock_guard lock(mutex_);
        if (!ending_)
            return false;
    }
    return !Readable(listenFd_, 0);
}

void LoopbackPeer::Serve() {
    for (;;) {
        pollfd p[2] = {{listenFd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        if (poll(p, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            Fail("poll");
        }
        if (p[1].revents != 0) {
            std::uint64_t count = 0;
            (void)!::read(wakeFd_, &count, sizeof count);
            const std::lock_guard lock(mutex_);
            if (stopping_)
                return;
        }
        if (p[0].revents != 0) {
            const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0)
                Play(fd);
        }
        if (Ending()) {
            const std::lock_guard lock(mutex_);
            ending_ = false;
            done_ = true;
            ended_.notify_all();
        }
    }
}

void LoopbackPeer::Play(int fd) {
    SetTimeouts(fd);
    QByteArray reply;
    bool answer = false;
    {
        const std::lock_guard lock(mutex_);
        answer = requests_.size() < replies_.size();
        if (answer)
            reply = replies_[requests_.size()];
        requests_.emplace_back();
    }
    QByteArray request;
    char buffer[4096];
    while (answer && !request.contains("\r\n\r\n")) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            answer = false;
        else
            request.append(buffer, n);
    }
    for (qsizetype sent = 0; answer && sent < reply.size();) {
        const ssize_t n = ::send(fd, reply.constData() + sent,
                                 static_cast<size_t>(reply.size() - sent), MSG_NOSIGNAL);
        if (n <= 0)
            answer = false;
        else
            sent += n;
    }
    {
        const std::lock_guard lock(mutex_);
        requests_.back() = request;
    }
    // The close follows everything sent. Bytes the client sent meanwhile are taken in first,
    // so that the close is not turned into a reset that could discard the reply.
    ::shutdown(fd, SHUT_WR);
    while (::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT) > 0) {
    }
    ::close(fd);
}
