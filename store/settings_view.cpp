// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/settings_view.h"

#include "tiles/default_source.h"
#include "tiles/tile_ref.h"

SettingsView DefaultSettingsView() {
    return {DefaultViewUrls(), DefaultPrefixLength()};
}

bool IsUsableView(const ViewUrls& urls, int prefixLength) {
    if (prefixLength < 0)
        return false;
    const qsizetype length = urls[0].size();
    if (length <= prefixLength)
        return false;
    const QStringView prefix = QStringView(urls[0]).first(prefixLength);
    for (const QString& url : urls) {
        if (url.size() != length || !url.startsWith(prefix) ||
            !IsQuadPath(QStringView(url).sliced(prefixLength)))
            return false;
    }
    return true;
}

SettingsView ViewFromSettings(const SettingsFile& file) {
    if (!file.complete())
        return DefaultSettingsView();
    using namespace SettingsLine;
    const SettingsView view{{file.text(ViewTopLeft), file.text(ViewTopRight),
                             file.text(ViewBottomRight), file.text(ViewBottomLeft)},
                            file.number(PrefixLength)};
    return IsUsableView(view.urls, view.prefixLength) ? view : DefaultSettingsView();
}
