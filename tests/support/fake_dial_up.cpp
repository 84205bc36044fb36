#include "tests/support/fake_dial_up.h"

#include <algorithm>

EntryListing FakeDialUpService::EnumEntries(int room) {
    EntryListing listing;
    listing.count = static_cast<int>(entries.size());
    if (listing.count > room) {
        listing.result = 603; // the room given is too small
        return listing;
    }
    listing.names.assign(entries.begin(), entries.end());
    return listing;
}

std::uint32_t FakeDialUpService::Dial(const DialParams& params, ConnectionHandle& handle) {
    log_.append(QStringLiteral("Dial %1 %2 %3").arg(params.entry, params.user, params.password));
    handle = 0;
    if (dialResult != 0) {
        handle = failedHandle;
        return dialResult;
    }
    handle = nextHandle_++;
    active.push_back(handle);
    return 0;
}

std::vector<ConnectionHandle> FakeDialUpService::EnumConnections(int room) {
    const auto count = std::min(active.size(), static_cast<std::size_t>(std::max(room, 0)));
    return {active.begin(), active.begin() + static_cast<std::ptrdiff_t>(count)};
}

void FakeDialUpService::HangUp(ConnectionHandle handle) {
    log_.append(QStringLiteral("HangUp %1").arg(handle));
    std::erase(active, handle);
}
