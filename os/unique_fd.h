// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Sole ownership of a POSIX file descriptor (a file, a socket, a signalfd), closed on
// destruction. Plain C++, so that the demo tile server holds its sockets with it too.
#include <unistd.h>
#include <utility>

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            Reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { Reset(); }

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    void Reset() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }
    // Gives the descriptor up without closing it, for a caller that closes it itself and
    // wants to know whether that worked.
    int Release() { return std::exchange(fd_, -1); }

private:
    int fd_ = -1;
};
