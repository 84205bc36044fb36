// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the view and the jobs need of the chosen imagery source: where each tile is asked for
// and kept, and the client that fetches it. The demo source is the request prefix of the
// settings over the program's own HTTP client; every other source a URL template over
// libcurl, with a cache folder of its own.
#include "net/curl_transport.h"
#include "net/http_get.h"
#include "sources/source_catalog.h"
#include "sources/tile_source.h"

#include <QString>
#include <functional>
#include <memory>
#include <variant>

// What the client does while it waits for a server, as HttpClient's hooks: keep the window
// painted, and stop at once when the user cancels.
struct FetchHooks {
    std::function<void()> whileWaiting;
    std::function<bool()> stop;
};

// The source of that name in the catalog, or a one-line reason naming the known sources.
std::variant<SourceDefinition, QString> FindSource(const SourceCatalog& catalog,
                                                   const QString& name);

// The tiles of source for the view, with the cache below cacheRoot (which ends with '/').
std::shared_ptr<const TileSource> TileSourceFor(const SourceDefinition& source,
                                                const ViewRefs& view, const QString& cacheRoot);

// The client of source.
std::unique_ptr<HttpGet> HttpGetFor(const SourceDefinition& source,
                                    const TransportSettings& settings, const FetchHooks& hooks);

// Makes the folder of a template source's tiles below cacheRoot when the root exists: the
// cache never makes directories when it writes, and a missing root stays the user's to fix.
void MakeSourceFolder(const SourceDefinition& source, const QString& cacheRoot);

// Environment variables a user sets for the template sources: a file of certificates to
// trust besides the system's, and a contact (an e-mail address or a web page) that the
// User-Agent carries, as providers' usage policies ask.
inline constexpr char kCaFileVariable[] = "ORBIVIST_CA_FILE";
inline constexpr char kContactVariable[] = "ORBIVIST_CONTACT";

// The program's own time-outs, with a reply body bounded by the largest tile the cache keeps.
HttpClientOptions TileFetchLimits();

// The settings of the transport: the proxy given, the CA file and the contact from the
// environment, the program's own time-outs and body limit.
TransportSettings TransportSettingsWith(const ProxySettings& proxy);
