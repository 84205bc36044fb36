// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/tileserver/tile_server.h"

#include "tools/tileserver/connection_io.h"
#include "tools/tileserver/jpeg_encoder.h"
#include "tools/tileserver/mercator_tile.h"
#include "tools/tileserver/png_encoder.h"
#include "tools/tileserver/tile_key.h"
#include "tools/tileserver/tile_reply.h"
#include "tools/tileserver/tile_request.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <thread>

namespace tileserver {

namespace {

// A client that has not sent its request by then is not going to.
constexpr std::chrono::seconds kRequestLimit{10};
constexpr std::chrono::seconds kSendLimit{30};

std::string SystemError(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

const char* HeadProblem(HeadOutcome outcome) {
    switch (outcome) {
    case HeadOutcome::Complete:
        return "complete";
    case HeadOutcome::Closed:
        return "closed before the request was complete";
    case HeadOutcome::TooLarge:
        return "request head too large";
    case HeadOutcome::TimedOut:
        return "request not complete in time";
    case HeadOutcome::Stopped:
        return "stopping";
    case HeadOutcome::Failed:
        return "read failed";
    }
    return "unknown";
}

} // namespace

TileServer::TileServer(const RgbImage& world, FaultPlan faults, std::chrono::milliseconds delay,
                       std::ostream& log)
    : world_(world), faults_(faults), delay_(delay), log_(log) {}

std::optional<std::string> TileServer::Listen(int port) {
    UniqueFd socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!socket.Valid())
        return SystemError("socket");
    const int on = 1;
    ::setsockopt(socket.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::bind(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return SystemError(("bind 127.0.0.1:" + std::to_string(port)).c_str());
    if (::listen(socket.Get(), 64) != 0)
        return SystemError("listen");
    socklen_t length = sizeof address;
    if (::getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return SystemError("getsockname");
    port_ = ntohs(address.sin_port);
    listener_ = std::move(socket);
    return std::nullopt;
}

void TileServer::Run(int stopFd) {
    for (;;) {
        {
            std::unique_lock lock(openMutex_);
            openChanged_.wait(lock, [this] { return open_ < kMostConnections; });
        }
        pollfd fds[2] = {{stopFd, POLLIN, 0}, {listener_.Get(), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            Log(SystemError("poll"));
            break;
        }
        if (fds[0].revents != 0)
            break;
        if ((fds[1].revents & POLLIN) == 0)
            continue;
        UniqueFd client(::accept4(listener_.Get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!client.Valid())
            continue;
        {
            const std::lock_guard lock(openMutex_);
            ++open_;
            ++unanswered_;
        }
        std::thread([this, stopFd, client = std::move(client)]() mutable {
            bool unanswered = true;
            Serve(client, stopFd, unanswered);
            client.Reset(); // closed before Run may return and the server go
            const std::lock_guard lock(openMutex_);
            unanswered_ -= unanswered ? 1 : 0;
            --open_;
            openChanged_.notify_all();
        }).detach();
    }
    // Every connection thread uses this object: wait until the last has finished.
    std::unique_lock lock(openMutex_);
    openChanged_.wait(lock, [this] { return open_ == 0; });
}

void TileServer::Log(const std::string& line) {
    const std::lock_guard lock(logMutex_);
    log_ << line << std::endl;
}

void TileServer::Serve(const UniqueFd& client, int stopFd, bool& unanswered) {
    const std::uint64_t number = ++requests_;
    std::string head;
    const HeadOutcome outcome = ReadRequestHead(client.Get(), stopFd, kRequestLimit, head);
    if (outcome == HeadOutcome::Stopped)
        return;
    Answer answer;
    if (outcome == HeadOutcome::Complete)
        answer = AnswerHead(head);
    else if (outcome == HeadOutcome::TooLarge)
        answer.reply = TextReply(431, "Request Header Fields Too Large", "request too large\n");
    else {
        Log('#' + std::to_string(number) + ' ' + HeadProblem(outcome));
        return;
    }

    std::ostringstream line;
    line << '#' << number << ' ' << answer.request;
    if (!WaitUnlessStopped(stopFd, delay_)) {
        line << " -> not answered, stopping";
        Log(line.str());
        return;
    }
    if (answer.reply) {
        // Counted out before the reply leaves: a client that takes its next request to a new
        // connection the moment it holds this reply finds this one no longer counted.
        const std::lock_guard lock(openMutex_);
        line << " -> " << answer.reply->status << ' ' << answer.reply->body.size()
             << " bytes open=" << unanswered_;
        --unanswered_;
        unanswered = false;
    } else {
        line << " -> dropped";
    }
    if (answer.fault != Fault::None)
        line << " fault=" << FaultName(answer.fault);
    // Logged before the reply goes out, so that a client holding its reply always finds the
    // request in the log.
    Log(line.str());
    if (answer.reply &&
        !SendFinalReply(client.Get(), stopFd, kSendLimit, SerializeReply(*answer.reply)))
        Log('#' + std::to_string(number) + " client gone");
}

TileServer::Answer TileServer::AnswerHead(const std::string& head) {
    Answer answer;
    const std::optional<RequestLine> line = ParseRequestLine(head);
    if (!line) {
        answer.reply = TextReply(400, "Bad Request", "malformed request line\n");
        return answer;
    }
    answer.request = std::string(line->method) + ' ' + std::string(line->target);
    if (line->method != "GET") {
        answer.reply = TextReply(405, "Method Not Allowed", "only GET is served\n");
        return answer;
    }
    std::optional<TileKey> tile;
    bool png = false;
    if (const std::optional<std::string_view> key = TileKeyParameter(line->target)) {
        tile = ParseTileKey(*key);
    } else if (const std::optional<XyzTile> xyz = ParseXyzTarget(line->target)) {
        tile = xyz->position;
        png = xyz->format == ImageFormat::Png;
    }
    if (!tile) {
        answer.reply = TextReply(404, "Not Found", "no such tile\n");
        return answer;
    }
    {
        const std::lock_guard lock(faultsMutex_);
        answer.fault = faults_.Next();
    }
    answer.reply = ReplyForTile(line->target, *tile, png, answer.fault);
    return answer;
}

std::optional<HttpReply> TileServer::ReplyForTile(std::string_view target, const TileKey& tile,
                                                  bool png, Fault fault) const {
    const RgbImage pixels = RenderMercatorTile(world_, tile);
    const std::vector<std::uint8_t> image = png ? EncodePng(pixels) : EncodeJpeg(pixels);
    if (image.empty())
        return TextReply(500, "Internal Server Error", "tile could not be encoded\n");
    const std::string selfUrl =
        "http://127.0.0.1:" + std::to_string(port_) + std::string(OriginForm(target));
    std::optional<HttpReply> reply =
        TileReply(std::string(image.begin(), image.end()), fault, selfUrl);
    if (png && reply && reply->contentType == "image/jpeg")
        reply->contentType = "image/png";
    return reply;
}

} // namespace tileserver
