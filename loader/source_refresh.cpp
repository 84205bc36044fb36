// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader/source_refresh.h"

#include "sources/source_cache_folder.h"

SourceRefresh::SourceRefresh(const SourceDefinition& source, const QString& cacheRoot,
                             std::optional<int> olderThanDays)
    : folder_(SourceCacheFolder(cacheRoot, source)), maxAgeSeconds_(source.maxAgeSeconds),
      days_(olderThanDays), demo_(source.kind == SourceKind::Demo) {
    if (!demo_)
        index_ = std::make_unique<ValidatorIndex>(folder_, maxAgeSeconds_);
    if (days_)
        rule_.olderThanSeconds = *days_ * kSecondsPerDay;
    rule_.index = index_.get();
}

const RefreshRule* SourceRefresh::ForJobs() const {
    return days_ || index_ ? &rule_ : nullptr;
}

const RefreshRule* SourceRefresh::ForView() const {
    return days_ && !demo_ ? &rule_ : nullptr;
}

bool SourceRefresh::Serves(const SourceDefinition& source, const QString& cacheRoot,
                           std::optional<int> olderThanDays) const {
    return folder_ == SourceCacheFolder(cacheRoot, source) &&
           maxAgeSeconds_ == source.maxAgeSeconds && days_ == olderThanDays &&
           demo_ == (source.kind == SourceKind::Demo);
}

void SourceRefresh::Commit() {
    if (index_)
        index_->Commit();
}
