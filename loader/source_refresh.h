// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which cached tiles of a source are asked about again, decided in one place for the window
// and the command line. A tile is due when it is older than the days given, and a template
// source's tile also when it is past the expiry its server (or the source's max-age) gave,
// kept in the validator index of the source's folder. The demo source has no index: its
// tiles' age is only their files' time.
#include "loader/tile_refresh.h"
#include "loader/validator_index.h"
#include "sources/source_definition.h"

#include <QString>
#include <memory>
#include <optional>

class SourceRefresh {
public:
    // olderThanDays: the user's number of days, when one is set (0: every cached tile).
    SourceRefresh(const SourceDefinition& source, const QString& cacheRoot,
                  std::optional<int> olderThanDays);

    // The rule of the jobs: the days, when given, and the server's expiry; nothing when no
    // tile can be due (the demo source without days).
    const RefreshRule* ForJobs() const;
    // The rule of the view: off unless days are set, and never for the demo source, whose
    // client cannot ask only for a change and would fetch every old tile shown whole again.
    const RefreshRule* ForView() const;
    // Whether days were given: the counters are then said even when nothing was due.
    bool Asked() const { return rule_.olderThanSeconds.has_value(); }
    // Whether this owner decides for that source, root and days; otherwise a new one must.
    bool Serves(const SourceDefinition& source, const QString& cacheRoot,
                std::optional<int> olderThanDays) const;
    // Ends the index's batch under way, so that another process sees it.
    void Commit();

private:
    QString folder_;
    std::optional<qint64> maxAgeSeconds_;
    std::optional<int> days_;
    bool demo_ = false;
    std::unique_ptr<ValidatorIndex> index_; // stays put when the owner moves
    RefreshRule rule_;
};
