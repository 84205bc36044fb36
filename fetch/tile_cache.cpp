#include "fetch/tile_cache.h"

#include <QSaveFile>
#include <algorithm>

namespace {

bool IsQuadrantLetters(QStringView text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c == u'q' || c == u'r' || c == u's' || c == u't';
    });
}

} // namespace

TileRequest MakeTileRequest(const QString& cacheRoot, const QString& url, int prefixLength) {
    const qsizetype start = std::clamp<qsizetype>(prefixLength, 0, url.size());
    TileRequest request{url, url.mid(start), std::nullopt};
    if (IsQuadrantLetters(request.quadPath))
        request.cacheFile = cacheRoot + request.quadPath + QStringLiteral(".jpg");
    return request;
}

bool StoreTileFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size())
        return false; // QSaveFile discards the partial temporary file
    return file.commit();
}
