#include "store/settings_layout.h"

#include "fetch/default_source.h"

namespace {

using Layout = std::array<SettingsLineFormat, kSettingsLineCount>;

SettingsLineFormat Flag(QStringView token) {
    return {LineEncoding::Flag, token, 0};
}
SettingsLineFormat Number(int fallback) {
    return {LineEncoding::Number, {}, fallback};
}

Layout BuildLayout() {
    using namespace SettingsLine;
    Layout layout{}; // every line not named below is text
    layout[ModeCacheOnly] = Flag(u"c");
    layout[ModeInternetOnly] = Flag(u"i");
    layout[ModeCacheAndInternet] = Flag(u"ci");
    layout[ScheduleDialog] = Flag(u"t");
    layout[UseProxy] = Flag(u"p");
    layout[PrefixLength] = Number(DefaultPrefixLength());
    layout[LatHemisphere] = Number(0);
    layout[LonHemisphere] = Number(1);
    layout[MarkPoint] = Flag(u"p");
    layout[SearchZoom] = Number(1);
    layout[JpegQuality] = Number(100);
    layout[FetchAttempts] = Number(3);
    layout[WriteErrorLimit] = Number(3);
    layout[ReceiveErrorLimit] = Number(3);
    layout[BadFileErrorLimit] = Number(25);
    layout[UseCacheDirectory] = Flag(u"c");
    layout[RetryInterval] = Number(1);
    return layout;
}

} // namespace

const std::array<SettingsLineFormat, kSettingsLineCount>& SettingsLayout() {
    static const Layout layout = BuildLayout();
    return layout;
}

QString FlagLine(int line, bool on) {
    const bool isFlag = line >= 0 && line < kSettingsLineCount &&
                        SettingsLayout()[line].encoding == LineEncoding::Flag;
    Q_ASSERT(isFlag);
    return on && isFlag ? SettingsLayout()[line].token.toString() : QStringLiteral("-");
}

QString NumberLine(int value) {
    return QString::number(value);
}
