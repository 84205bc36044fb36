// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader/source_services.h"

#include "loader/curl_http_get.h"
#include "loader/tile_cache.h"
#include "net/http_client.h"
#include "sources/source_cache_folder.h"
#include "sources/template_tile_source.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

std::variant<SourceDefinition, QString> FindSource(const SourceCatalog& catalog,
                                                   const QString& name) {
    if (std::optional<SourceDefinition> found = catalog.Find(name))
        return *found;
    QStringList known;
    for (const SourceDefinition& source : catalog.sources)
        known << source.name;
    return QCoreApplication::translate("SourceServices",
                                       "неизвестный источник \"%1\"; источники: %2")
        .arg(name, known.join(QStringLiteral(", ")));
}

std::shared_ptr<const TileSource> TileSourceFor(const SourceDefinition& source,
                                                const ViewRefs& view, const QString& cacheRoot) {
    if (source.kind == SourceKind::Demo)
        return view.Source(cacheRoot);
    return std::make_shared<TemplateTileSource>(source, view.Prefix(),
                                                SourceCacheFolder(cacheRoot, source));
}

std::unique_ptr<HttpGet> HttpGetFor(const SourceDefinition& source,
                                    const TransportSettings& settings, const FetchHooks& hooks) {
    if (source.kind == SourceKind::Demo) {
        auto http = std::make_unique<HttpClient>(QStringLiteral("127.0.0.1"), settings.limits);
        http->SetProxy(settings.proxy);
        http->SetWhileWaiting(hooks.whileWaiting);
        http->SetStopWaiting(hooks.stop);
        return http;
    }
    auto http = std::make_unique<CurlHttpGet>(source, settings);
    http->SetWhileWaiting(hooks.whileWaiting);
    http->SetStopWaiting(hooks.stop);
    return http;
}

void MakeSourceFolder(const SourceDefinition& source, const QString& cacheRoot) {
    if (source.kind != SourceKind::Demo && QFileInfo(cacheRoot).isDir())
        QDir().mkdir(SourceCacheFolder(cacheRoot, source));
}

HttpClientOptions TileFetchLimits() {
    HttpClientOptions limits;
    limits.bodyLimit = kLargestTileFile; // the cache would refuse a larger tile anyway
    return limits;
}

TransportSettings TransportSettingsWith(const ProxySettings& proxy) {
    return TransportSettings{.proxy = proxy,
                             .caFile = qEnvironmentVariable(kCaFileVariable),
                             .contact = qEnvironmentVariable(kContactVariable),
                             .limits = TileFetchLimits()};
}
