#pragma once
// Our temporary files: one hidden name pattern for all of them, and the clean-up of those a run
// killed outright left behind.
#include <QString>
#include <chrono>

// Unlikely to meet another program's files, and hidden, since a file left behind by a crash
// is of no use to anyone looking at the directory.
inline constexpr char kTempPrefix[] = ".orbivist-";
inline constexpr char kTempSuffix[] = ".tmp";

// The hidden name pattern of every temporary file of ours in directory, as a QTemporaryFile
// template ("XXXXXX" becomes random letters).
QString TempFileTemplate(const QString& directory);

// A run killed outright leaves its temporary files behind. Removes those of directory that
// follow our pattern and have not been written to for olderThan (one still being written is
// younger); nothing else is ever touched.
inline constexpr std::chrono::minutes kStaleTempAge{5};
void RemoveStaleTempFiles(const QString& directory, std::chrono::seconds olderThan = kStaleTempAge);
