// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether a batch job may fetch from an imagery source: stitching and prefill download in
// bulk, which a provider's terms may forbid, and a source serves only its own levels.
#include "sources/source_definition.h"

#include <QString>
#include <optional>

// Why a job fetching tiles of level from source is refused, or nothing when it may run. The
// demo source is never refused here: its own limits stay the jobs' to check.
std::optional<QString> BulkDownloadRefusal(const SourceDefinition& source, int level);
