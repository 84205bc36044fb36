#include "tools/tileserver/tile_server.h"

#include "tools/tileserver/connection_io.h"
#include "tools/tileserver/jpeg_encoder.h"
#include "tools/tileserver/mercator_tile.h"
#include "tools/tileserver/tile_key.h"
#include "tools/tileserver/tile_reply.h"
#include "tools/tileserver/tile_request.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

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
        pollfd fds[2] = {{stopFd, POLLIN, 0}, {listener_.Get(), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            log_ << SystemError("poll") << std::endl;
            return;
        }
        if (fds[0].revents != 0)
            return;
        if ((fds[1].revents & POLLIN) == 0)
            continue;
        const UniqueFd client(::accept4(listener_.Get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (client.Valid())
            Serve(client, stopFd);
    }
}

void TileServer::Serve(const UniqueFd& client, int stopFd) {
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
        log_ << '#' << number << ' ' << HeadProblem(outcome) << std::endl;
        return;
    }

    log_ << '#' << number << ' ' << answer.request;
    if (!WaitUnlessStopped(stopFd, delay_)) {
        log_ << " -> not answered, stopping" << std::endl;
        return;
    }
    if (answer.reply) {
        const bool sent =
            SendFinalReply(client.Get(), stopFd, kSendLimit, SerializeReply(*answer.reply));
        log_ << " -> " << answer.reply->status << ' ' << answer.reply->body.size() << " bytes";
        if (!sent)
            log_ << " (client gone)";
    } else {
        log_ << " -> dropped";
    }
    if (answer.fault != Fault::None)
        log_ << " fault=" << FaultName(answer.fault);
    log_ << std::endl;
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
    const std::optional<std::string_view> key = TileKeyParameter(line->target);
    const std::optional<TileKey> tile = key ? ParseTileKey(*key) : std::nullopt;
    if (!tile) {
        answer.reply = TextReply(404, "Not Found", "no such tile\n");
        return answer;
    }
    answer.fault = faults_.Next();
    answer.reply = ReplyForTile(line->target, *tile, answer.fault);
    return answer;
}

std::optional<HttpReply> TileServer::ReplyForTile(std::string_view target, const TileKey& tile,
                                                  Fault fault) const {
    const std::vector<std::uint8_t> jpeg = EncodeJpeg(RenderMercatorTile(world_, tile));
    if (jpeg.empty())
        return TextReply(500, "Internal Server Error", "tile could not be encoded\n");
    const std::string selfUrl =
        "http://127.0.0.1:" + std::to_string(port_) + std::string(OriginForm(target));
    return TileReply(std::string(jpeg.begin(), jpeg.end()), fault, selfUrl);
}

} // namespace tileserver
