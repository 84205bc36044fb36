// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/source_catalog.h"

#include "os/input_file.h"
#include "sources/sources_file.h"

#include <algorithm>

namespace {

void AddFile(const QString& path, bool required, SourceCatalog& catalog) {
    const InputFile file = ReadInputFile(path, kMaxSourcesFileBytes);
    // A missing user file is normal; a link that leads nowhere is a mistake to point out.
    if (!required && file.outcome == InputFile::Outcome::Missing)
        return;
    if (!file.Read()) {
        catalog.problems << QStringLiteral("%1: cannot be read: %2")
                                .arg(path, file.Problem(kMaxSourcesFileBytes));
        return;
    }
    SourcesFileContents contents = ParseSourcesFile(file.bytes, path);
    catalog.problems << contents.errors;
    for (SourceDefinition& source : contents.sources) {
        if (catalog.Find(source.name)) {
            catalog.problems << QStringLiteral("%1: the source \"%2\" is already defined; "
                                               "choose another name")
                                    .arg(path, source.name);
            continue;
        }
        catalog.sources.push_back(std::move(source));
    }
}

} // namespace

std::optional<SourceDefinition> SourceCatalog::Find(const QString& name) const {
    const auto found = std::find_if(sources.begin(), sources.end(), [&](const auto& source) {
        return source.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (found == sources.end())
        return std::nullopt;
    return *found;
}

SourceCatalog LoadSourceCatalog(const QString& shippedPath, const QString& userPath) {
    SourceCatalog catalog;
    AddFile(shippedPath, true, catalog);
    AddFile(userPath, false, catalog);
    const auto demo = std::find_if(catalog.sources.begin(), catalog.sources.end(),
                                   [](const auto& s) { return s.kind == SourceKind::Demo; });
    if (demo == catalog.sources.end())
        catalog.sources.insert(catalog.sources.begin(), DemoSource());
    else
        std::rotate(catalog.sources.begin(), demo, demo + 1);
    return catalog;
}
