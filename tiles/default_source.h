// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where tiles come from out of the box: the demo tile server on loopback.
#include <QString>
#include <array>

inline constexpr int kDefaultTileServerPort = 47321;

// The name of the program's own demo source: what --source, the sources files and the settings
// file call it, and what a settings file without a source line means.
inline const QString kDemoSourceName = QStringLiteral("demo");

// The request prefix ends with the tile key's leading 't', so a tile reference
// is this prefix followed by the tile's quadrant letters.
inline QString DefaultSourcePrefix() {
    return QStringLiteral("http://127.0.0.1:%1/kh?v=5&n=404&t=t").arg(kDefaultTileServerPort);
}

inline int DefaultPrefixLength() {
    return static_cast<int>(DefaultSourcePrefix().size());
}

// The whole world at level 1, in view order top-left, top-right, bottom-right, bottom-left.
inline std::array<QString, 4> DefaultViewUrls() {
    const QString p = DefaultSourcePrefix();
    return {p + 'q', p + 'r', p + 's', p + 't'};
}
