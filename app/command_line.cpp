// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include "batch/jobs/region_choice.h"
#include "batch/outputs/export_format.h"
#include "gis/area_file.h"
#include "sources/source_pace.h"
#include "store/settings.h"
#include "tiles/decimal_text.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>

namespace {

// Ten years: a cached tile older than that is due whatever the number.
constexpr int kMostRefreshDays = 3650;

// As typed on the command line, blanks around the number allowed.
std::optional<int> WholeNumber(const QString& text) {
    return ParseInt(QStringView(text).trimmed());
}

// A count given on the command line: a whole number of at least 1, kept as text the way the
// window's field would hold it.
std::optional<QString> Count(const QString& text) {
    const std::optional<int> value = WholeNumber(text);
    if (!value || *value < 1)
        return std::nullopt;
    return QString::number(*value);
}

// "59.93,30.31": the comma separates the two numbers, so decimals take a full stop.
std::optional<std::pair<double, double>> LatLon(const QString& text) {
    const QStringList parts = text.split(',');
    if (parts.size() != 2)
        return std::nullopt;
    bool okLat = false;
    bool okLon = false;
    const double lat = parts[0].trimmed().toDouble(&okLat);
    const double lon = parts[1].trimmed().toDouble(&okLon);
    if (!okLat || !okLon || !std::isfinite(lat) || !std::isfinite(lon) || lat < -90 || lat > 90 ||
        lon < -180 || lon > 180)
        return std::nullopt;
    return std::pair{lat, lon};
}

// "H:MM", within the scheduling dialog's hours and minutes.
std::optional<int> Delay(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(\\d{1,3}):(\\d{1,2})$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int hours = ParseIntOr(match.capturedView(1), 0);
    const int minutes = ParseIntOr(match.capturedView(2), 0);
    if (!SettingsRange::DelayHours.Holds(hours) || !SettingsRange::DelayMinutes.Holds(minutes))
        return std::nullopt;
    return hours * 60 + minutes;
}

// "receive=N,bad=N,write=N", any of the three once each, within the settings tab's ranges.
bool ReadErrorLimits(const QString& text, CommandRetry& retry) {
    const struct {
        const char* name;
        SpinRange range;
        std::optional<int> CommandRetry::*limit;
    } kinds[] = {
        {"receive", SettingsRange::ReceiveErrorLimit, &CommandRetry::receiveLimit},
        {"bad", SettingsRange::BadFileErrorLimit, &CommandRetry::badFileLimit},
        {"write", SettingsRange::WriteErrorLimit, &CommandRetry::writeLimit},
    };
    for (const QString& part : text.split(u',')) {
        const qsizetype equals = part.indexOf(u'=');
        const QString name = part.left(equals).trimmed();
        const std::optional<int> value = WholeNumber(part.mid(equals + 1).trimmed());
        const auto kind = std::find_if(std::begin(kinds), std::end(kinds), [&](const auto& k) {
            return name == QLatin1String(k.name);
        });
        if (equals < 0 || kind == std::end(kinds) || !value || !kind->range.Holds(*value) ||
            (retry.*(kind->limit)).has_value())
            return false;
        retry.*(kind->limit) = *value;
    }
    return true;
}

// What an option's value must be, for the reason that refuses another.
QString ValueForm(const QString& option, const QString& command) {
    namespace R = SettingsRange;
    const auto range = [](SpinRange r) {
        return QCoreApplication::translate("CommandLine", "целое число от %1 до %2")
            .arg(r.min)
            .arg(r.max);
    };
    const std::map<QString, QString> kForms{
        {"--quality", range(R::JpegQuality)},
        {"--level", range(R::SearchLevel)},
        {"--retries", range(R::FetchAttempts)},
        {"--retry-pause", range(R::RetryInterval)},
        {"--columns", QCoreApplication::translate("CommandLine", "целое число не меньше 1")},
        {"--rows", QCoreApplication::translate("CommandLine", "целое число не меньше 1")},
        {"--depth", QCoreApplication::translate("CommandLine", "целое число не меньше 1")},
        {"--at",
         QCoreApplication::translate(
             "CommandLine", "ШИР,ДОЛ в десятичных градусах, от -90 до 90 и от -180 до 180")},
        {"--delay",
         QCoreApplication::translate("CommandLine", "Ч:ММ, не больше %1 ч").arg(R::DelayHours.max)},
        {"--buffer",
         QCoreApplication::translate("CommandLine", "метры от 0 до %1").arg(kMaxBufferMetres)},
        {"--bbox", QCoreApplication::translate("CommandLine",
                                               "З,Ю,В,С в десятичных градусах, юг ниже севера")},
        {"--levels",
         QCoreApplication::translate("CommandLine", "A-B, уровни от 1 до %1, A не больше B")
             .arg(R::SearchLevel.max)},
        {"--rate", QCoreApplication::translate("CommandLine", "запросов в секунду, больше 0 и не "
                                                              "больше %1")
                       .arg(kMostRate)},
        {"--refresh-older-than",
         QCoreApplication::translate("CommandLine", "дни, целое число от 0 до %1")
             .arg(kMostRefreshDays)},
        {"--bandwidth",
         QCoreApplication::translate("CommandLine", "байт в секунду, как 200000, 500k или 2M")},
        {"--max-errors",
         QCoreApplication::translate(
             "CommandLine",
             "receive=N,bad=N,write=N: receive от %1 до %2, bad от %3 до %4, write от %5 до %6")
             .arg(R::ReceiveErrorLimit.min)
             .arg(R::ReceiveErrorLimit.max)
             .arg(R::BadFileErrorLimit.min)
             .arg(R::BadFileErrorLimit.max)
             .arg(R::WriteErrorLimit.min)
             .arg(R::WriteErrorLimit.max)},
    };
    if (option == QLatin1String("--output") && command == QLatin1String("export"))
        return QCoreApplication::translate(
            "CommandLine", "ФАЙЛ.mbtiles, .gpkg, .sqlitedb, .orux, .pmtiles или .kmz");
    const auto form = kForms.find(option);
    return form != kForms.end() ? form->second
                                : QCoreApplication::translate("CommandLine", "непустое значение");
}

// An argument quoted in a reason: the reason stays one short line whatever was typed.
QString Shown(const QString& argument) {
    constexpr qsizetype kLongest = 80;
    QString shown = argument.left(kLongest);
    for (QChar& c : shown) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = u'?';
    }
    return argument.size() > kLongest ? shown + QStringLiteral("...") : shown;
}

// What both commands share, filled option by option.
struct Common {
    QString home;
    std::optional<std::pair<double, double>> at;
    std::optional<int> level;
    CommandSchedule schedule;
    std::optional<QString> source;
    CommandRegion region;
    bool regionGiven = false;
    std::optional<CommandLevels> levels;
    bool dryRun = false;
    CommandRetry retry;
};

// Why the region options do not go together, or nothing when they do.
std::optional<QString> RegionConflict(const Common& c, const std::set<QString>& given,
                                      bool stitch) {
    const auto has = [&](const char* option) { return given.count(QString::fromLatin1(option)); };
    if (has("--bbox") && has("--area"))
        return QCoreApplication::translate("CommandLine", "--bbox и --area нельзя указать вместе");
    if (has("--buffer") && !has("--area"))
        return QCoreApplication::translate("CommandLine", "--buffer указывается с --area");
    if (!c.regionGiven) {
        for (const char* option : {"--levels", "--dry-run"})
            if (has(option))
                return QCoreApplication::translate("CommandLine",
                                                   "%1 указывается с --bbox или --area")
                    .arg(option);
        return std::nullopt;
    }
    if (has("--at"))
        return QCoreApplication::translate(
            "CommandLine", "--at ставит вид, а область --bbox или --area вид не использует");
    if (has("--levels") && has("--depth"))
        return QCoreApplication::translate("CommandLine",
                                           "--levels и --depth нельзя указать вместе");
    if (stitch && (has("--columns") || has("--rows")))
        return QCoreApplication::translate("CommandLine",
                                           "--columns и --rows не указываются с --bbox или "
                                           "--area: размер картинки задаёт область");
    if (stitch && !c.level)
        return QCoreApplication::translate("CommandLine", "с --bbox или --area нужен --level L");
    return std::nullopt;
}

} // namespace

bool IsBatchCommand(const QStringList& arguments) {
    return !arguments.isEmpty() &&
           (arguments[0] == QLatin1String("stitch") || arguments[0] == QLatin1String("prefill") ||
            arguments[0] == QLatin1String("export"));
}

BatchCommand ParseBatchCommand(const QStringList& arguments) {
    if (!IsBatchCommand(arguments))
        return CommandError{
            QCoreApplication::translate("CommandLine", "неизвестная команда; см. orbivist --help")};
    const bool stitch = arguments[0] == QLatin1String("stitch");
    const bool exporting = arguments[0] == QLatin1String("export");
    Common common;
    StitchCommand s;
    PrefillCommand p;
    ExportCommand e;
    QString error;

    using Handler = std::function<bool(const QString&)>;
    std::map<QString, Handler> withValue{
        {"--home", [&](const QString& v) { return common.home = v, !v.isEmpty(); }},
        {"--at",
         [&](const QString& v) {
             common.at = LatLon(v);
             return common.at.has_value();
         }},
        {"--level",
         [&](const QString& v) {
             common.level = WholeNumber(v);
             return common.level && SettingsRange::SearchLevel.Holds(*common.level);
         }},
        {"--delay",
         [&](const QString& v) {
             const std::optional<int> minutes = Delay(v);
             common.schedule.delayMinutes = minutes.value_or(0);
             return minutes.has_value();
         }},
        {"--dial", [&](const QString& v) { return common.schedule.dialEntry = v, !v.isEmpty(); }},
        {"--user", [&](const QString& v) { return common.schedule.user = v, true; }},
        {"--source", [&](const QString& v) { return common.source = v, !v.isEmpty(); }},
        {"--bbox",
         [&](const QString& v) {
             common.region.box = BoxOfText(v);
             return common.regionGiven = common.region.box.has_value();
         }},
        {"--area",
         [&](const QString& v) {
             common.region.areaFile = v;
             return common.regionGiven = !v.isEmpty();
         }},
        {"--retries",
         [&](const QString& v) {
             common.retry.attempts = WholeNumber(v);
             return common.retry.attempts &&
                    SettingsRange::FetchAttempts.Holds(*common.retry.attempts);
         }},
        {"--retry-pause",
         [&](const QString& v) {
             common.retry.pauseSeconds = WholeNumber(v);
             return common.retry.pauseSeconds &&
                    SettingsRange::RetryInterval.Holds(*common.retry.pauseSeconds);
         }},
        {"--max-errors", [&](const QString& v) { return ReadErrorLimits(v, common.retry); }},
        {"--rate",
         [&](const QString& v) { return (common.retry.rate = RateOfText(v)).has_value(); }},
        {"--bandwidth",
         [&](const QString& v) {
             return (common.retry.bandwidth = BandwidthOfText(v)).has_value();
         }},
        {"--buffer",
         [&](const QString& v) {
             bool ok = false;
             common.region.bufferMetres = v.toDouble(&ok);
             return ok && common.region.bufferMetres >= 0 &&
                    common.region.bufferMetres <= kMaxBufferMetres;
         }},
    };
    if (stitch) {
        withValue["--output"] = [&](const QString& v) { return s.output = v, !v.isEmpty(); };
        withValue["--columns"] = [&](const QString& v) {
            return (s.columns = Count(v)).has_value();
        };
        withValue["--rows"] = [&](const QString& v) { return (s.rows = Count(v)).has_value(); };
        withValue["--quality"] = [&](const QString& v) {
            s.quality = WholeNumber(v);
            return s.quality && SettingsRange::JpegQuality.Holds(*s.quality);
        };
    } else {
        withValue["--depth"] = [&](const QString& v) { return (p.depth = Count(v)).has_value(); };
        withValue["--refresh-older-than"] = [&](const QString& v) {
            common.retry.refreshOlderThanDays = WholeNumber(v);
            return common.retry.refreshOlderThanDays && *common.retry.refreshOlderThanDays >= 0 &&
                   *common.retry.refreshOlderThanDays <= kMostRefreshDays;
        };
        withValue["--levels"] = [&](const QString& v) {
            const std::optional<LevelRange> levels = LevelsOfText(v);
            if (levels)
                common.levels = CommandLevels{levels->first, levels->last};
            return levels.has_value();
        };
    }
    if (exporting) {
        // Nothing waits or dials before an export: it is usually run from the cache.
        for (const char* schedule : {"--delay", "--dial", "--user"})
            withValue.erase(QString::fromLatin1(schedule));
        withValue["--output"] = [&](const QString& v) {
            e.output = v;
            return ExportFormatOf(v).has_value();
        };
    }

    std::set<QString> given;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& option = arguments[i];
        if (option == QLatin1String("--help") || option == QLatin1String("-h"))
            return HelpRequest{arguments[0]};
        // The last value silently winning would hide a mistake in a script.
        if (!given.insert(option).second)
            return CommandError{
                QCoreApplication::translate("CommandLine", "%1 указан дважды").arg(Shown(option))};
        if (option == QLatin1String("--hang-up") && !exporting) {
            common.schedule.hangUp = true;
            common.schedule.any = true;
            continue;
        }
        if (option == QLatin1String("--dry-run") && !stitch) {
            common.dryRun = true;
            continue;
        }
        if (option == QLatin1String("--password"))
            return CommandError{QCoreApplication::translate(
                "CommandLine", "пароль дозвона берётся из "
                               "ORBIVIST_DIAL_PASSWORD, а не из командной строки")};
        const auto handler = withValue.find(option);
        if (handler == withValue.end() && !option.startsWith(u'-'))
            return CommandError{QCoreApplication::translate(
                                    "CommandLine", "лишний аргумент %1: %2 принимает только "
                                                   "параметры; см. orbivist %2 --help")
                                    .arg(Shown(option), arguments[0])};
        if (handler == withValue.end())
            return CommandError{
                QCoreApplication::translate("CommandLine",
                                            "неизвестный параметр %1; см. orbivist %2 --help")
                    .arg(Shown(option), arguments[0])};
        // An option in the place of the value means the value was forgotten.
        if (i + 1 >= arguments.size() || arguments[i + 1].startsWith(QLatin1String("--")))
            return CommandError{
                QCoreApplication::translate("CommandLine", "%1 требует значения").arg(option)};
        if (!handler->second(arguments[++i]))
            return CommandError{
                QCoreApplication::translate("CommandLine", "неверное значение %1: %2 (%3)")
                    .arg(option, Shown(arguments[i]), ValueForm(option, arguments[0]))};
        if (option == QLatin1String("--delay") || option == QLatin1String("--dial"))
            common.schedule.any = true;
    }

    if (common.home.isEmpty())
        return CommandError{QCoreApplication::translate("CommandLine", "нужен --home DIR")};
    if (const std::optional<QString> conflict = RegionConflict(common, given, stitch))
        return CommandError{*conflict};
    if (common.at.has_value() != common.level.has_value() && !(stitch && common.regionGiven))
        return CommandError{
            QCoreApplication::translate("CommandLine", "--at и --level указываются вместе")};
    // An empty user name is the peer file's own, as the dialog allows.
    if (given.count(QStringLiteral("--user")) && !common.schedule.dialEntry)
        return CommandError{QCoreApplication::translate(
            "CommandLine", "--user нужен для дозвона: укажите и --dial")};
    std::optional<CommandPoint> at;
    if (common.at)
        at = CommandPoint{common.at->first, common.at->second, *common.level};
    std::optional<CommandRegion> region;
    if (common.regionGiven)
        region = common.region;

    if (exporting) {
        if (e.output.isEmpty())
            return CommandError{QCoreApplication::translate("CommandLine",
                                                            "нужен --output ФАЙЛ.mbtiles, .gpkg, "
                                                            ".sqlitedb, .orux, .pmtiles или .kmz")};
        return ExportCommand{common.home,   common.retry, e.output,      p.depth,      at,
                             common.source, region,       common.levels, common.dryRun};
    }
    if (stitch) {
        if (s.output.isEmpty())
            return CommandError{
                QCoreApplication::translate("CommandLine", "нужен --output ФАЙЛ.jpg")};
        s.home = common.home;
        s.retry = common.retry;
        s.at = at;
        s.schedule = common.schedule;
        s.source = common.source;
        s.region = region;
        s.regionLevel = region ? *common.level : 0;
        return s;
    }
    p.home = common.home;
    p.retry = common.retry;
    p.at = at;
    p.schedule = common.schedule;
    p.source = common.source;
    p.region = region;
    p.levels = common.levels;
    p.dryRun = common.dryRun;
    return p;
}

namespace {

// The options of every run, each with a value: they may stand before the command word.
bool TakesValueEverywhere(const QString& option) {
    return option == QLatin1String("--home") || option == QLatin1String("--source") ||
           option == QLatin1String("--lang");
}

// Qt's own options that take a value (QGuiApplication and QApplication read them).
bool QtOptionWithValue(const QString& option) {
    static const QStringList kQtOptions{"-platform",
                                        "-platformpluginpath",
                                        "-platformtheme",
                                        "-plugin",
                                        "-qwindowgeometry",
                                        "-geometry",
                                        "-qwindowicon",
                                        "-icon",
                                        "-qwindowtitle",
                                        "-title",
                                        "-session",
                                        "-style",
                                        "-stylesheet",
                                        "-display",
                                        "-name"};
    return kQtOptions.contains(option);
}

} // namespace

std::optional<qsizetype> CommandWordIndex(const QStringList& arguments) {
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (!a.startsWith(u'-') || a == QLatin1String("-"))
            return i;
        if (TakesValueEverywhere(a) || QtOptionWithValue(a))
            ++i;
    }
    return std::nullopt;
}

std::optional<QString> ViewerArgumentsRefusal(const QStringList& arguments) {
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (TakesValueEverywhere(a)) {
            if (i + 1 >= arguments.size() || arguments[i + 1].startsWith(QLatin1String("--")))
                return QCoreApplication::translate("CommandLine", "%1 требует значения").arg(a);
            ++i;
        } else if (QtOptionWithValue(a)) {
            ++i; // Qt's own options (one dash) are Qt's to read
        } else if (!a.startsWith(u'-') || a == QLatin1String("-")) {
            return QCoreApplication::translate("CommandLine",
                                               "неизвестная команда \"%1\"; команды: "
                                               "stitch, prefill и export (см. orbivist --help)")
                .arg(Shown(a));
        } else if (a.startsWith(QLatin1String("--")) && !a.startsWith(QLatin1String("--home=")) &&
                   !a.startsWith(QLatin1String("--source="))) {
            return QCoreApplication::translate("CommandLine",
                                               "неизвестный параметр %1 (см. orbivist --help)")
                .arg(Shown(a));
        }
    }
    return std::nullopt;
}
