#pragma once
// An HTTP tile server on 127.0.0.1 for window tests: it answers each request with the next
// scripted tile and remembers every URL it was asked for. Once the script is used up every
// request is answered 404.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <deque>
#include <mutex>
#include <stop_token>
#include <thread>

class LoopbackTiles {
public:
    LoopbackTiles();
    ~LoopbackTiles();
    LoopbackTiles(const LoopbackTiles&) = delete;
    LoopbackTiles& operator=(const LoopbackTiles&) = delete;

    void Reply(const QByteArray& body);
    // The request prefix of the tiles it serves, ending with the key's leading "t".
    QString Prefix() const;

    // Written before each reply is sent, so complete once the client has its answer.
    QStringList requests;

private:
    void Serve(const std::stop_token& stop);
    void Answer(int fd);

    int listenFd_ = -1;
    int port_ = 0;
    std::mutex mutex_;
    std::deque<QByteArray> script_;
    std::jthread thread_;
};
