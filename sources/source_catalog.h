// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sources the user may choose from: those shipped beside the executable, then those the
// user adds in the program directory.
#include "sources/source_definition.h"

#include <QStringList>
#include <optional>
#include <vector>

inline const QString kShippedSourcesFile = QStringLiteral("Sources.ini");
inline const QString kUserSourcesFile = QStringLiteral("MySources.ini");
// Far more than any list of sources takes; a larger file is refused unread.
inline constexpr qint64 kMaxSourcesFileBytes = 1024 * 1024;

struct SourceCatalog {
    std::vector<SourceDefinition> sources; // the demo source always among them, first
    QStringList problems;                  // "file:line: what is wrong", for the user to see

    // The source of that name, compared without regard to case.
    std::optional<SourceDefinition> Find(const QString& name) const;
};

// Reads both files. A missing user file is normal; a missing shipped file, and a file that is
// no regular file or is too large, is a problem but still leaves the demo source. A user source may
// not take the name of another.
SourceCatalog LoadSourceCatalog(const QString& shippedPath, const QString& userPath);
