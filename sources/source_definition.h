// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One imagery source as the sources file describes it.
#include "tiles/default_source.h"
#include "tiles/tile_key.h"

#include <QString>
#include <QStringList>
#include <algorithm>
#include <optional>

enum class SourceKind {
    Demo,     // the request prefix of ORB.ini plus quadtree letters, over the program's own client
    Template, // a URL template fetched over libcurl
};

enum class TileFormat { Jpeg, Png };

struct SourceDefinition {
    QString name;  // what --source and ORB.ini name it by: letters, digits, '-' and '_'
    QString title; // what the user sees
    SourceKind kind = SourceKind::Template;
    QString urlTemplate; // empty for the demo source
    TileFormat format = TileFormat::Jpeg;
    int minLevel = kLowestLevel;
    int maxLevel = kHighestLevel;
    int connections = 1; // transfers at once
    QString attribution;
    bool bulkDownload = false; // whether stitching and prefill may use it
    QStringList subdomains;    // what {s} takes in turn
    int jpegQuality = 90;      // for PNG tiles re-encoded as JPEG
    double rate = 0;           // requests per second across its connections; 0: no limit
    qint64 bandwidth = 0;      // bytes per second; 0: no limit
    // How long a tile stays fresh when its server does not say; nothing: until asked to refresh.
    std::optional<qint64> maxAgeSeconds;
    qint64 dailyLimit = 0; // requests a day, as some providers publish; 0: none

    // Whether the source has tiles of level: the demo server answers every level the view can
    // reach, as it always has.
    bool ServesLevel(int level) const {
        return kind == SourceKind::Demo || (level >= minLevel && level <= maxLevel);
    }
    // The served level nearest to level.
    int NearestLevel(int level) const {
        return kind == SourceKind::Demo ? level : std::clamp(level, minLevel, maxLevel);
    }

    bool operator==(const SourceDefinition&) const = default;
};

// What a source of the sources file gets when it does not say: two connections and a pace
// that a provider's server hardly notices, as the public tile servers' usage policies ask.
inline constexpr int kPoliteConnections = 2;
inline constexpr double kPoliteRate = 8;

// Today's source, used when no sources file says otherwise.
inline SourceDefinition DemoSource() {
    SourceDefinition demo;
    demo.name = kDemoSourceName;
    demo.title = QStringLiteral("Демо-сервер");
    demo.kind = SourceKind::Demo;
    demo.bulkDownload = true;
    return demo;
}
