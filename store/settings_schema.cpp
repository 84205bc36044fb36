// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/settings_schema.h"

#include "store/settings_view.h"
#include "tiles/decimal_text.h"
#include "tiles/default_source.h"

#include <algorithm>
#include <tuple>

namespace {

using Schema = std::array<SettingsLineSchema, kSettingsLineCount>;

template <auto Member> auto& Of(Settings& s) {
    return s.*Member;
}

template <int Slot> QString& ViewUrl(Settings& s) {
    return s.view.urls[Slot];
}

template <int Mode> bool& ModeLine(Settings& s) {
    return s.modeLines[Mode];
}

int& PrefixLengthOf(Settings& s) {
    return s.view.prefixLength;
}

NumberField Spinner(SettingsMember<int> member, int design, SpinRange range) {
    return {member, design, design, range};
}

Schema BuildSchema() {
    using namespace SettingsLine;
    const ViewUrls view = DefaultViewUrls();
    const int prefixLength = DefaultPrefixLength();
    const QString five = QStringLiteral("5");
    return Schema{{
        {ViewTopLeft, TextField{ViewUrl<0>, view[0]}},
        {ViewTopRight, TextField{ViewUrl<1>, view[1]}},
        {ViewBottomRight, TextField{ViewUrl<2>, view[2]}},
        {ViewBottomLeft, TextField{ViewUrl<3>, view[3]}},
        {ModeCacheOnly, FlagField{ModeLine<0>, u"c", false}},
        {ModeInternetOnly, FlagField{ModeLine<1>, u"i", false}},
        {ModeCacheAndInternet, FlagField{ModeLine<2>, u"ci", true}},
        {ScheduleDialog, FlagField{Of<&Settings::scheduleDialog>, u"t", false}},
        {UseProxy, FlagField{Of<&Settings::useProxy>, u"p", false}},
        {ProxyServer, TextField{Of<&Settings::proxyServer>, {}}},
        {ProxyPort, TextField{Of<&Settings::proxyPort>, {}}},
        {ProxyUser, TextField{Of<&Settings::proxyUser>, {}}},
        {ProxyPassword, TextField{Of<&Settings::proxyPassword>, {}}},
        {PrefixLength, NumberField{PrefixLengthOf, prefixLength, prefixLength, std::nullopt}},
        {LatHemisphere, NumberField{Of<&Settings::latHemisphere>, 0, 0, std::nullopt}},
        {LonHemisphere, NumberField{Of<&Settings::lonHemisphere>, 1, 1, std::nullopt}},
        {MarkPoint, FlagField{Of<&Settings::markPoint>, u"p", true}},
        {SearchZoom, NumberField{Of<&Settings::searchZoom>, -1, 1, std::nullopt}},
        {StitchColumns, TextField{Of<&Settings::stitchColumns>, five}},
        {StitchRows, TextField{Of<&Settings::stitchRows>, five}},
        {JpegQuality, Spinner(Of<&Settings::jpegQuality>, 100, SettingsRange::JpegQuality)},
        {PrefillLevel, TextField{Of<&Settings::prefillLevel>, five}},
        {FetchAttempts, Spinner(Of<&Settings::fetchAttempts>, 3, SettingsRange::FetchAttempts)},
        {WriteErrorLimit,
         Spinner(Of<&Settings::writeErrorLimit>, 3, SettingsRange::WriteErrorLimit)},
        {ReceiveErrorLimit,
         Spinner(Of<&Settings::receiveErrorLimit>, 3, SettingsRange::ReceiveErrorLimit)},
        {BadFileErrorLimit,
         Spinner(Of<&Settings::badFileErrorLimit>, 25, SettingsRange::BadFileErrorLimit)},
        {CacheDirectory, TextField{Of<&Settings::cacheDirectory>, {}}},
        {UseCacheDirectory, FlagField{Of<&Settings::useCacheDirectory>, u"c", false}},
        {RetryInterval, Spinner(Of<&Settings::retryInterval>, 1, SettingsRange::RetryInterval)},
    }};
}

const Schema& CheckedSchema(const Schema& schema) {
    for (int line = 0; line < kSettingsLineCount; ++line)
        Q_ASSERT(schema[line].line == line);
    return schema;
}

template <typename... Handlers> struct Overloaded : Handlers... { using Handlers::operator()...; };
// Spelled out for clang 14, which builds the fuzz targets and deduces no aggregate.
template <typename... Handlers> Overloaded(Handlers...) -> Overloaded<Handlers...>;

void ReadLine(const SettingsLineSchema& schema, const SettingsFile& file, Settings& s) {
    std::visit(Overloaded{
                   [&](const TextField& f) { f.member(s) = file.text(schema.line); },
                   [&](const FlagField& f) { f.member(s) = file.flag(schema.line); },
                   [&](const NumberField& f) {
                       const int value = file.number(schema.line);
                       f.member(s) =
                           f.range ? std::clamp(value, f.range->min, f.range->max) : value;
                   },
               },
               schema.field);
}

QString WrittenLine(const SettingsLineSchema& schema, Settings& s) {
    return std::visit(Overloaded{
                          [&](const TextField& f) { return f.member(s); },
                          [&](const FlagField& f) { return FlagLine(schema.line, f.member(s)); },
                          [&](const NumberField& f) { return NumberLine(f.member(s)); },
                      },
                      schema.field);
}

} // namespace

const std::array<SettingsLineSchema, kSettingsLineCount>& SettingsSchema() {
    static const Schema schema = BuildSchema();
    static const Schema& checked = CheckedSchema(schema);
    return checked;
}

Settings DesignSettings() {
    Settings s;
    for (const SettingsLineSchema& schema : SettingsSchema()) {
        std::visit([&s](const auto& f) { f.member(s) = f.design; }, schema.field);
    }
    s.sourceName = kDemoSourceName;
    return s;
}

Settings SettingsFromFile(const SettingsFile& file) {
    Settings s = DesignSettings();
    while (s.linesPresent < kSettingsLineCount && file.has(s.linesPresent))
        ReadLine(SettingsSchema()[s.linesPresent++], file, s);
    // The four references and the prefix length only make sense together.
    s.view = ViewFromSettings(file);
    if (file.sourceName() && s.linesPresent == kSettingsLineCount)
        s.sourceName = *file.sourceName();
    if (file.windowSize() && s.linesPresent == kSettingsLineCount)
        std::tie(s.windowWidth, s.windowHeight) = *file.windowSize();
    if (s.linesPresent == kSettingsLineCount)
        s.refreshDays = file.refreshDays();
    return s;
}

SettingsLines SettingsLinesOf(Settings settings) {
    SettingsLines lines;
    for (const SettingsLineSchema& schema : SettingsSchema())
        lines[schema.line] = WrittenLine(schema, settings);
    return lines;
}

QStringList AddedSettingsLinesOf(const Settings& settings) {
    const bool sized = settings.windowWidth > 0 && settings.windowHeight > 0;
    const QString size =
        sized ? QStringLiteral("%1x%2").arg(settings.windowWidth).arg(settings.windowHeight)
              : QString();
    if (settings.refreshDays > 0)
        return {settings.sourceName, size, QString::number(settings.refreshDays)};
    if (sized)
        return {settings.sourceName, size};
    if (settings.sourceName.compare(kDemoSourceName, Qt::CaseInsensitive) == 0)
        return {};
    return {settings.sourceName};
}

QString FlagLine(int line, bool on) {
    const auto* flag = line >= 0 && line < kSettingsLineCount
                           ? std::get_if<FlagField>(&SettingsSchema()[line].field)
                           : nullptr;
    Q_ASSERT(flag);
    return on && flag ? flag->token.toString() : QStringLiteral("-");
}

QString NumberLine(int value) {
    return QString::number(value);
}
