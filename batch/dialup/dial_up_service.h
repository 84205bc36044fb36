// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dial-up networking service as the batch jobs see it: five operations over a phone book
// of named entries and the connections that are up. The records the service exchanges are
// value types here; a backend decides how they map onto the system's own dialler.
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

using ConnectionHandle = std::int64_t; // 0 means "no connection"

// What a dial is given; each text is cut to kDialFieldLength characters before use.
struct DialParams {
    QString entry;
    QString user;
    QString password;
};
inline constexpr int kDialFieldLength = 256;

struct EntryListing {
    std::uint32_t result = 0;   // 0 on success; non-zero when the room given was too small
    std::vector<QString> names; // in the order the phone book gives them
    int count = 0;              // entries in the phone book (reported also on failure)
};

// Room for this many active connections is given when they are listed.
inline constexpr int kConnectionListRoom = 20;

class DialUpService {
public:
    virtual ~DialUpService() = default;
    // Lists the phone book's entries, with room for at most `room` names.
    virtual EntryListing EnumEntries(int room) = 0;
    // Dials synchronously: returns 0 once the connection is up, or the error code. handle
    // is set to 0 first and to the connection's handle when the service allocated one.
    virtual std::uint32_t Dial(const DialParams& params, ConnectionHandle& handle) = 0;
    // The text of an error code, or nothing when the service has none.
    virtual std::optional<QString> ErrorText(std::uint32_t code) = 0;
    // The handles of the active connections, at most `room` of them.
    virtual std::vector<ConnectionHandle> EnumConnections(int room) = 0;
    // Starts ending a connection; it leaves the active list once it is down.
    virtual void HangUp(ConnectionHandle handle) = 0;
};
