// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The HTTP side of the demo server: one request per connection, each connection served on a
// thread of its own, so a delayed or slow reply never holds the others.
#include "os/unique_fd.h"
#include "tools/tileserver/fault_plan.h"
#include "tools/tileserver/http_reply.h"
#include "tools/tileserver/rgb_image.h"
#include "tools/tileserver/tile_key.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>

namespace tileserver {

class TileServer {
public:
    // world must outlive the server. One line per request goes to log.
    TileServer(const RgbImage& world, FaultPlan faults, std::chrono::milliseconds delay,
               std::ostream& log);

    // Binds 127.0.0.1 at port (0 picks a free one). Returns the reason on failure.
    std::optional<std::string> Listen(int port);
    // The bound port, once Listen succeeded.
    int Port() const { return port_; }

    // Serves connections until stopFd becomes readable (it is only watched, never read), then
    // waits for the connections under way, which see the same stop.
    void Run(int stopFd);

private:
    struct Answer {
        std::optional<HttpReply> reply; // nothing: close without replying
        Fault fault = Fault::None;
        std::string request = "?"; // method and target, for the log
    };

    // At most this many connections are served at once; further ones wait to be accepted.
    static constexpr int kMostConnections = 256;

    // unanswered turns false once the connection's reply is about to leave.
    void Serve(const UniqueFd& client, int stopFd, bool& unanswered);
    Answer AnswerHead(const std::string& head);
    std::optional<HttpReply> ReplyForTile(std::string_view target, const TileKey& tile, bool png,
                                          Fault fault) const;
    void Log(const std::string& line);

    const RgbImage& world_;
    std::mutex faultsMutex_;
    FaultPlan faults_;
    std::chrono::milliseconds delay_;
    std::mutex logMutex_;
    std::ostream& log_;
    UniqueFd listener_;
    int port_ = 0;
    std::atomic<std::uint64_t> requests_ = 0;
    std::mutex openMutex_;
    std::condition_variable openChanged_;
    int open_ = 0;       // connections being served
    int unanswered_ = 0; // of those, the ones whose reply has not left yet (the log's open=)
};

} // namespace tileserver
