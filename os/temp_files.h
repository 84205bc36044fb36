// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Our temporary files: one hidden name pattern for all of them, the hold that marks one as still
// being written, and the clean-up of those a run killed outright left behind.
#include "os/unique_fd.h"

#include <QString>
#include <chrono>

// Unlikely to meet another program's files, and hidden, since a file left behind by a crash
// is of no use to anyone looking at the directory.
inline constexpr char kTempPrefix[] = ".orbivist-";
inline constexpr char kTempSuffix[] = ".tmp";
// The GeoTIFF writer's scratch picture, which GDAL knows by its extension.
inline constexpr char kScratchTiffSuffix[] = ".tif";

// The hidden name pattern of every temporary file of ours in directory, as a QTemporaryFile
// template ("XXXXXX" becomes random letters).
QString TempFileTemplate(const QString& directory);

// A lock on a temporary file of ours, held for as long as the object lives by the process that
// writes the file: a file can go unwritten for a long time while its writer lives (an export
// keeps its transaction in memory through a slow server or a long pause), so only the lock
// tells a live file from a leftover. The lock belongs to an open file description of its own;
// closing the writer's descriptor does not release it, and a killed process loses it.
class TempFileHold {
public:
    TempFileHold() = default;
    // Holds the file open on fd (duplicated; fd stays the caller's).
    static TempFileHold OfDescriptor(int fd);
    // Holds the file of that name.
    static TempFileHold OfPath(const QString& path);

    bool Held() const { return fd_.Valid(); }
    void Release() { fd_.Reset(); }

private:
    explicit TempFileHold(UniqueFd fd) : fd_(std::move(fd)) {}
    UniqueFd fd_;
};

// A run killed outright leaves its temporary files behind. Removes those of directory that
// follow our pattern, have not been written to for olderThan and that no live process holds;
// nothing else is ever touched.
inline constexpr std::chrono::minutes kStaleTempAge{5};
void RemoveStaleTempFiles(const QString& directory, std::chrono::seconds olderThan = kStaleTempAge);
