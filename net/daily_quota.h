// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A provider's daily quota of tiles ("10,000 tiles per day and IP"): the requests made to a
// source on each calendar day, counted across runs in a small file beside its cache, so that a
// job stops before it would pass the quota and says from when it may go on.
#include <QDate>
#include <QString>
#include <QtGlobal>
#include <cstdint>
#include <functional>

class DailyQuota {
public:
    // The name of the count in the source's cache folder: hidden among the tiles.
    static constexpr char kFileName[] = ".daily-count";

    // limit requests a day (0: no quota), counted in folder's file; today is the clock's
    // calendar day (the system's local date without it).
    DailyQuota(const QString& folder, std::int64_t limit, std::function<QDate()> today = nullptr);

    // Takes one request from today's quota; false, taking nothing, when it is used up.
    bool Take();
    // How many requests today's quota still allows.
    std::int64_t Left();
    std::int64_t Limit() const { return limit_; }
    // The first day the quota allows requests again: tomorrow.
    QDate ResumesOn() const;

private:
    void Roll(); // a new day starts the count afresh

    QString path_;
    std::int64_t limit_ = 0;
    std::function<QDate()> today_;
    QDate day_;
    std::int64_t used_ = 0;
};
