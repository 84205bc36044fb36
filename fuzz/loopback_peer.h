// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A server on 127.0.0.1 that lives as long as the fuzzing process, so that thousands of
// executions per second neither start threads nor use up ports. For each execution it answers
// the k-th connection with the k-th reply (after reading the request up to its empty line)
// and then closes; connections beyond the replies are closed at once.
#include <QByteArray>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

class LoopbackPeer {
public:
    LoopbackPeer();
    ~LoopbackPeer();
    LoopbackPeer(const LoopbackPeer&) = delete;
    LoopbackPeer& operator=(const LoopbackPeer&) = delete;

    int port() const { return port_; }

    // Starts an execution with the replies for its connections.
    void Begin(std::vector<QByteArray> replies);
    // Ends it: returns once every connection made since Begin has been served. The client must
    // have closed all its connections (or have been destroyed) before.
    void End();
    // The requests the connections of the last execution sent, in order of connection.
    const std::vector<QByteArray>& requests() const { return requests_; }

private:
    void Serve();
    void Play(int fd);
    bool Ending();

    int listenFd_ = -1;
    int wakeFd_ = -1; // an eventfd that interrupts the wait for connections
    int port_ = 0;

    std::mutex mutex_;
    std::condition_variable ended_;
    std::vector<QByteArray> replies_;
    std::vector<QByteArray> requests_;
    bool ending_ = false;
    bool done_ = false;
    bool stopping_ = false;
    std::thread thread_; // last: started once everything above exists
};
