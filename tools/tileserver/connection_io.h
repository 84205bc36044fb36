// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Bounded reading and writing on one client connection. Every wait also watches a stop
// descriptor, so a shutdown request is never held up by a slow or silent client.
#include <chrono>
#include <string>
#include <string_view>

namespace tileserver {

enum class HeadOutcome { Complete, Closed, TooLarge, TimedOut, Stopped, Failed };

// Requests carry no body; a head longer than this is not a tile request.
inline constexpr std::size_t kMaxRequestHead = 16 * 1024;

// Reads until the blank line that ends a request head, within limit.
HeadOutcome ReadRequestHead(int fd, int stopFd, std::chrono::milliseconds limit, std::string& head);

// Sends all of bytes within limit and then closes the sending side. The FIN travels with
// the last bytes, so a client that checks for the close right after reading the reply
// always sees it and never sends a next request into a connection that is going away.
// False if the peer went away, time ran out or stop came.
bool SendFinalReply(int fd, int stopFd, std::chrono::milliseconds limit, std::string_view bytes);

// Sleeps for duration; false if stopFd became readable first.
bool WaitUnlessStopped(int stopFd, std::chrono::milliseconds duration);

} // namespace tileserver
