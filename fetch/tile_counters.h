#pragma once
#include <cstdint>

// What the tile loader has received and how often each kind of failure happened.
// Only the loader increments them; batch jobs reset the three error counts.
struct TileCounters {
    std::int64_t bytesReceived = 0;  // never reset; 64 bits so it cannot wrap
    std::int32_t receiveErrors = 0;
    std::int32_t badFileErrors = 0;
    std::int32_t writeErrors = 0;

    void ResetErrors() { receiveErrors = badFileErrors = writeErrors = 0; }
};
