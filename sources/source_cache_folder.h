// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where each source keeps its tiles under the cache root.
#include "sources/source_definition.h"

#include <QString>

// The folder of the source's tiles, ending with '/'. The demo source keeps the flat layout of
// the cache root itself; every other source has a folder of its own below it, named after
// the source so that tiles of different sources never mix. Letters, digits, '-' and '_' stand
// as they are and every other byte of the UTF-8 name as %XX, so two names never share a
// folder and no name climbs out of the root. cacheRoot ends with '/'.
QString SourceCacheFolder(const QString& cacheRoot, const SourceDefinition& source);
