// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/source_cache_folder.h"

QString SourceCacheFolder(const QString& cacheRoot, const SourceDefinition& source) {
    if (source.kind == SourceKind::Demo)
        return cacheRoot;
    // Folders of tiles of the demo source never exist (its files sit flat in the root), and
    // a prefix keeps a source named "Cash" or "" from looking like anything else.
    QString folder = cacheRoot + QStringLiteral("source-");
    for (const char byte : source.name.toUtf8()) {
        const auto c = static_cast<unsigned char>(byte);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '_')
            folder += QChar(c);
        else
            folder += QStringLiteral("%%1").arg(c, 2, 16, QChar(u'0')).toUpper();
    }
    return folder + u'/';
}
