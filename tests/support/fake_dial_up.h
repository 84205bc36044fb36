#pragma once
// A dial-up service for tests: a scripted dial result and a list of active connections,
// with every dial and hang-up written to a log.
#include "batch/dial_up_service.h"

#include <QStringList>

class FakeDialUpService : public DialUpService {
public:
    explicit FakeDialUpService(QStringList& log) : log_(log) {}

    QStringList entries;                  // the phone book
    std::uint32_t dialResult = 0;         // 0: the connection comes up
    ConnectionHandle failedHandle = 0;    // handed out by a failing dial when not 0
    std::optional<QString> errorText;     // the text of any error code
    std::vector<ConnectionHandle> active; // up connections; a good dial adds one

    EntryListing EnumEntries(int room) override;
    std::uint32_t Dial(const DialParams& params, ConnectionHandle& handle) override;
    std::optional<QString> ErrorText(std::uint32_t) override { return errorText; }
    std::vector<ConnectionHandle> EnumConnections(int room) override;
    void HangUp(ConnectionHandle handle) override;

private:
    QStringList& log_;
    ConnectionHandle nextHandle_ = 1;
};
