#include "store/settings.h"

#include <algorithm>
#include <optional>

namespace {

int Clamped(int value, SpinRange range) {
    return std::clamp(value, range.min, range.max);
}

} // namespace

Settings SettingsFromFile(const SettingsFile& file) {
    using namespace SettingsLine;
    Settings s;
    while (s.linesPresent < kSettingsLineCount && file.has(s.linesPresent))
        ++s.linesPresent;
    const auto present = [&s](int line) { return line < s.linesPresent; };
    s.view = ViewFromSettings(file);
    for (int i = 0; i < 3; ++i) {
        if (present(ModeCacheOnly + i))
            s.modeLines[i] = file.flag(ModeCacheOnly + i);
    }
    if (present(ScheduleDialog))
        s.scheduleDialog = file.flag(ScheduleDialog);
    if (present(UseProxy))
        s.useProxy = file.flag(UseProxy);
    if (present(ProxyServer))
        s.proxyServer = file.text(ProxyServer);
    if (present(ProxyPort))
        s.proxyPort = file.text(ProxyPort);
    if (present(ProxyUser))
        s.proxyUser = file.text(ProxyUser);
    if (present(ProxyPassword))
        s.proxyPassword = file.text(ProxyPassword);
    if (present(LatHemisphere))
        s.latHemisphere = file.number(LatHemisphere);
    if (present(LonHemisphere))
        s.lonHemisphere = file.number(LonHemisphere);
    if (present(MarkPoint))
        s.markPoint = file.flag(MarkPoint);
    if (present(SearchZoom))
        s.searchZoom = file.number(SearchZoom);
    if (present(StitchColumns))
        s.stitchColumns = file.text(StitchColumns);
    if (present(StitchRows))
        s.stitchRows = file.text(StitchRows);
    if (present(JpegQuality))
        s.jpegQuality = Clamped(file.number(JpegQuality), SettingsRange::JpegQuality);
    if (present(PrefillLevel))
        s.prefillLevel = file.text(PrefillLevel);
    if (present(FetchAttempts))
        s.fetchAttempts = Clamped(file.number(FetchAttempts), SettingsRange::FetchAttempts);
    if (present(WriteErrorLimit))
        s.writeErrorLimit = Clamped(file.number(WriteErrorLimit), SettingsRange::WriteErrorLimit);
    if (present(ReceiveErrorLimit))
        s.receiveErrorLimit =
            Clamped(file.number(ReceiveErrorLimit), SettingsRange::ReceiveErrorLimit);
    if (present(BadFileErrorLimit))
        s.badFileErrorLimit =
            Clamped(file.number(BadFileErrorLimit), SettingsRange::BadFileErrorLimit);
    if (present(CacheDirectory))
        s.cacheDirectory = file.text(CacheDirectory);
    if (present(UseCacheDirectory))
        s.useCacheDirectory = file.flag(UseCacheDirectory);
    if (present(RetryInterval))
        s.retryInterval = Clamped(file.number(RetryInterval), SettingsRange::RetryInterval);
    return s;
}

Settings ReadSettings(const QString& path) {
    return SettingsFromFile(LoadSettings(path));
}

WorkMode WorkModeOf(const Settings& settings) {
    constexpr std::array<WorkMode, 3> kModes{WorkMode::CacheOnly, WorkMode::InternetOnly,
                                             WorkMode::CacheAndInternet};
    std::optional<int> selected = 2; // the design-time choice
    for (int i = 0; i < 3 && i < settings.linesPresent - SettingsLine::ModeCacheOnly; ++i) {
        if (settings.modeLines[i])
            selected = i;
        else if (selected == i)
            selected.reset();
    }
    return selected ? kModes[*selected] : WorkMode::CacheAndInternet;
}

QString CacheRootFor(bool useDirectory, const QString& directory, const QString& defaultRoot) {
    // An empty field would make the file system's root the cache, where damaged "tiles"
    // get deleted; the default cache serves until a directory is named.
    if (!useDirectory || directory.trimmed().isEmpty())
        return defaultRoot;
    return directory + '/';
}
