// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A dial-up service and a reporter that remember what was asked of them, for the dialling
// algorithms and the scheduling dialog without any modem.
#include "batch/dialup/dial_up.h"

#include <QStringList>
#include <map>
#include <utility>

class FakeDialUp : public DialUpService {
public:
    std::vector<QString> entries;
    std::uint32_t dialResult = 0;
    ConnectionHandle dialHandle = 0; // what a dial hands back
    std::map<std::uint32_t, QString> errorTexts;
    std::vector<ConnectionHandle> connections;
    bool hangUpIgnored = false; // connections that never go down

    std::vector<int> entryRooms;
    std::vector<DialParams> dials;
    std::vector<int> connectionRooms;
    std::vector<ConnectionHandle> hungUp;
    // When set, a good dial brings up a connection of its own (handles 1, 2, ...), and every
    // dial and hang-up is written to *log as "Dial ENTRY USER PASSWORD" and "HangUp HANDLE".
    bool goodDialConnects = false;
    QStringList* log = nullptr;

    EntryListing EnumEntries(int room) override {
        entryRooms.push_back(room);
        EntryListing listing;
        listing.count = static_cast<int>(entries.size());
        if (listing.count > room)
            listing.result = 603;
        else
            listing.names = entries;
        return listing;
    }
    std::uint32_t Dial(const DialParams& params, ConnectionHandle& handle) override {
        dials.push_back(params);
        if (log)
            log->append(
                QStringLiteral("Dial %1 %2 %3").arg(params.entry, params.user, params.password));
        handle = dialHandle;
        if (dialResult == 0 && goodDialConnects) {
            handle = nextHandle_++;
            connections.push_back(handle);
        }
        return dialResult;
    }
    std::optional<QString> ErrorText(std::uint32_t code) override {
        const auto it = errorTexts.find(code);
        if (it == errorTexts.end())
            return std::nullopt;
        return it->second;
    }
    std::vector<ConnectionHandle> EnumConnections(int room) override {
        connectionRooms.push_back(room);
        return connections;
    }
    void HangUp(ConnectionHandle handle) override {
        hungUp.push_back(handle);
        if (log)
            log->append(QStringLiteral("HangUp %1").arg(handle));
        if (!hangUpIgnored)
            std::erase(connections, handle);
    }

private:
    ConnectionHandle nextHandle_ = 1;
};

class FakeDialReporter : public DialReporter {
public:
    QStringList statuses;
    std::vector<std::pair<QString, QString>> messages; // caption, text

    void SetStatus(const QString& text) override { statuses << text; }
    void ShowMessage(const QString& caption, const QString& text) override {
        messages.emplace_back(caption, text);
    }
};
