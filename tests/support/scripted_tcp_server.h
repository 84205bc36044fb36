// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A TCP server on 127.0.0.1 for tests of network clients. It listens on a port of the
// system's choosing, plays one script per accepted connection (in order of acceptance)
// with byte-exact replies, and records every byte each connection received.
// Connections beyond the scripts are closed at once, unless a responder answers them.
#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

class ConnectionScript {
public:
    // Waits for the next whole request (up to its empty line), then sends reply.
    ConnectionScript& Reply(QByteArray reply);
    // Sends bytes without waiting for a request.
    ConnectionScript& Send(QByteArray bytes);
    // Waits, sending nothing, for the given time.
    ConnectionScript& Pause(std::chrono::milliseconds time);
    // Sends nothing more and keeps the connection open until the client closes it. Without it
    // the server closes its side after the last step.
    ConnectionScript& Stall();

    struct Step {
        enum class Kind { AwaitRequest, Send, Pause, Stall } kind;
        QByteArray bytes;
        std::chrono::milliseconds time{0};
    };
    const std::vector<Step>& steps() const { return steps_; }

private:
    std::vector<Step> steps_;
};

class ScriptedTcpServer {
public:
    // Makes a reply of a request's head, on the server's thread.
    using Responder = std::function<QByteArray(const QByteArray& request)>;
    // With afterScripts, each connection beyond the scripts gets its one request answered by
    // it instead of being closed.
    explicit ScriptedTcpServer(std::vector<ConnectionScript> scripts, Responder afterScripts = {});
    ~ScriptedTcpServer();
    ScriptedTcpServer(const ScriptedTcpServer&) = delete;
    ScriptedTcpServer& operator=(const ScriptedTcpServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by target.
    QString Url(const QString& target = QStringLiteral("/")) const;

    // What each accepted connection has received so far, in order of acceptance.
    std::vector<QByteArray> Received() const;
    int AcceptedCount() const;

private:
    void Serve(std::stop_token stop);
    void Play(std::stop_token stop, int fd, const ConnectionScript* script, size_t index);
    void Record(size_t index, const char* data, qsizetype size);

    int listenFd_ = -1;
    int port_ = 0;
    std::vector<ConnectionScript> scripts_;
    Responder afterScripts_;
    mutable std::mutex mutex_;
    std::vector<QByteArray> received_;
    std::jthread thread_; // last: started once everything above is ready, stopped first
};
