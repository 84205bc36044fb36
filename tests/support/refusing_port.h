// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A loopback port that refuses every connection while the object lives: bound, so that no
// other program can listen there, but never listening itself.
#include "os/unique_fd.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>

class RefusingPort {
public:
    RefusingPort() : socket_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        auto* any = reinterpret_cast<sockaddr*>(&address);
        EXPECT_TRUE(socket_.Valid() && ::bind(socket_.Get(), any, size) == 0 &&
                    ::getsockname(socket_.Get(), any, &size) == 0);
        port_ = ntohs(address.sin_port);
    }
    int Port() const { return port_; }

private:
    UniqueFd socket_;
    int port_ = 0;
};
