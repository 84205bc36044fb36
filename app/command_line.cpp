#include "app/command_line.h"

#include "batch/jobs/region_choice.h"
#include "batch/outputs/export_format.h"
#include "gis/area_file.h"
#include "store/settings.h"

#include <QRegularExpression>
#include <cmath>
#include <functional>
#include <map>
#include <set>

namespace {

std::optional<int> WholeNumber(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
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
    const int hours = match.captured(1).toInt();
    const int minutes = match.captured(2).toInt();
    if (!SettingsRange::DelayHours.Holds(hours) || !SettingsRange::DelayMinutes.Holds(minutes))
        return std::nullopt;
    return hours * 60 + minutes;
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
};

// Why the region options do not go together, or nothing when they do.
std::optional<QString> RegionConflict(const Common& c, const std::set<QString>& given,
                                      bool stitch) {
    const auto has = [&](const char* option) { return given.count(QString::fromLatin1(option)); };
    if (has("--bbox") && has("--area"))
        return QStringLiteral("--bbox and --area cannot be given together");
    if (has("--buffer") && !has("--area"))
        return QStringLiteral("--buffer goes with --area");
    if (!c.regionGiven) {
        for (const char* option : {"--levels", "--dry-run"})
            if (has(option))
                return QStringLiteral("%1 goes with --bbox or --area").arg(option);
        return std::nullopt;
    }
    if (has("--at"))
        return QStringLiteral("--at places the view, which a --bbox or --area region does not use");
    if (has("--levels") && has("--depth"))
        return QStringLiteral("--levels and --depth cannot be given together");
    if (stitch && (has("--columns") || has("--rows")))
        return QStringLiteral("--columns and --rows do not go with --bbox or --area: the region "
                              "decides the picture's size");
    if (stitch && !c.level)
        return QStringLiteral("--level L is needed with --bbox or --area");
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
        return CommandError{QStringLiteral("unknown command; see orbivist --help")};
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
            return HelpRequest{};
        // The last value silently winning would hide a mistake in a script.
        if (!given.insert(option).second)
            return CommandError{QStringLiteral("%1 is given twice").arg(Shown(option))};
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
            return CommandError{QStringLiteral(
                "the dial-up password is read from ORBIVIST_DIAL_PASSWORD, never from the "
                "command line")};
        const auto handler = withValue.find(option);
        if (handler == withValue.end())
            return CommandError{QStringLiteral("unknown option %1").arg(Shown(option))};
        // An option in the place of the value means the value was forgotten.
        if (i + 1 >= arguments.size() || arguments[i + 1].startsWith(QLatin1String("--")))
            return CommandError{QStringLiteral("%1 needs a value").arg(option)};
        if (!handler->second(arguments[++i]))
            return CommandError{
                QStringLiteral("bad value for %1: %2").arg(option, Shown(arguments[i]))};
        if (option == QLatin1String("--delay") || option == QLatin1String("--dial"))
            common.schedule.any = true;
    }

    if (common.home.isEmpty())
        return CommandError{QStringLiteral("--home DIR is required")};
    if (const std::optional<QString> conflict = RegionConflict(common, given, stitch))
        return CommandError{*conflict};
    if (common.at.has_value() != common.level.has_value() && !(stitch && common.regionGiven))
        return CommandError{QStringLiteral("--at and --level go together")};
    // An empty user name is the peer file's own, as the dialog allows.
    if (given.count(QStringLiteral("--user")) && !common.schedule.dialEntry)
        return CommandError{QStringLiteral("--user is for dialling: it needs --dial")};
    std::optional<CommandPoint> at;
    if (common.at)
        at = CommandPoint{common.at->first, common.at->second, *common.level};
    std::optional<CommandRegion> region;
    if (common.regionGiven)
        region = common.region;

    if (exporting) {
        if (e.output.isEmpty())
            return CommandError{QStringLiteral(
                "--output FILE.mbtiles, .gpkg, .sqlitedb, .orux, .pmtiles or .kmz is required")};
        return ExportCommand{common.home,   e.output, p.depth,       at,
                             common.source, region,   common.levels, common.dryRun};
    }
    if (stitch) {
        if (s.output.isEmpty())
            return CommandError{QStringLiteral("--output FILE.jpg is required")};
        s.home = common.home;
        s.at = at;
        s.schedule = common.schedule;
        s.source = common.source;
        s.region = region;
        s.regionLevel = region ? *common.level : 0;
        return s;
    }
    p.home = common.home;
    p.at = at;
    p.schedule = common.schedule;
    p.source = common.source;
    p.region = region;
    p.levels = common.levels;
    p.dryRun = common.dryRun;
    return p;
}

QString UsageText() {
    return QStringLiteral(
        "Usage: orbivist [--home DIR] [--source NAME]\n"
        "       orbivist stitch --home DIR --output FILE.jpg [--columns W] [--rows H]\n"
        "                [--quality Q] [--at LAT,LON --level L] [--source NAME]\n"
        "                [--delay H:MM] [--dial ENTRY [--user NAME]] [--hang-up]\n"
        "       orbivist prefill --home DIR [--depth D] [--at LAT,LON --level L]\n"
        "                [--source NAME] [--delay H:MM] [--dial ENTRY [--user NAME]]\n"
        "                [--hang-up]\n"
        "       orbivist export --home DIR --output FILE [--depth D]\n"
        "                [--at LAT,LON --level L] [--source NAME]\n"
        "       orbivist prefill|export ... --bbox W,S,E,N | --area FILE [--buffer METRES]\n"
        "                [--levels A-B] [--dry-run]\n"
        "       orbivist stitch ... --bbox W,S,E,N | --area FILE [--buffer METRES] --level L\n"
        "\n"
        "Satellite imagery viewer with an offline tile cache. Without a command it opens the\n"
        "viewer; the commands run a batch job without a display.\n"
        "\n"
        "  --home DIR   program directory holding ORB.ini, Favorites.dat and the cache Cash/\n"
        "               (default for the viewer: the executable's directory; installed, for\n"
        "               the commands too: $XDG_DATA_HOME/orbivist, ~/.local/share/orbivist)\n"
        "  stitch       fetch W x H tiles from the view's top-left tile east and south, save\n"
        "               them as one progressive JPEG with an OziExplorer .map and a world file\n"
        "               (.jgw, .prj) beside it, or, for a FILE ending in .tif, as a\n"
        "               Cloud-Optimized GeoTIFF (EPSG:3857) of any size the disk can hold\n"
        "  prefill      fetch every tile of the view's region at level D into the cache\n"
        "  export       write every tile of that region from the view's level to D, from the\n"
        "               cache or fetched, into FILE of the format its name gives: .mbtiles,\n"
        "               .gpkg (GeoPackage), .sqlitedb (OsmAnd, Locus), .orux (an OruxMaps map\n"
        "               folder), .pmtiles, or .kmz, ground overlays of the deepest level (at\n"
        "               most 100 pictures of 4 x 4 tiles, the limit of Garmin's custom maps)\n"
        "  --source     the imagery source of Sources.ini or DIR/MySources.ini by name\n"
        "               (default: the one chosen in the viewer, else demo); a template\n"
        "               source trusts the certificates of ORBIVIST_CA_FILE besides the\n"
        "               system's, and its User-Agent names ORBIVIST_CONTACT\n"
        "  --at, --level  centre the view on a point first (decimal degrees, north and east\n"
        "               positive; level 1 to 20), as the search does\n"
        "  --bbox       a region of its own instead of the view's: west, south, east, north in\n"
        "               decimal degrees (west above east crosses the 180th meridian)\n"
        "  --area       the region of a GPX, KML, KMZ, GeoJSON, Shapefile or GeoPackage file:\n"
        "               its polygons, and corridors of --buffer metres either side of its\n"
        "               tracks, routes and lines and around its points (default 500)\n"
        "  --levels     every level from A to B (default: the depth for prefill, the view's\n"
        "               level to the depth for export); tiles the cache holds are skipped\n"
        "  --dry-run    print per level the tiles, the cached ones, those to fetch and their\n"
        "               estimated size (from cached tiles, else a few fetched at random), and\n"
        "               the free space; a real run refuses a region larger than that space\n"
        "               (exit status 3). stitch --level L stitches the tiles covering the\n"
        "               region at level L\n"
        "  --delay      wait this long before starting; --dial dials a pppd peer first (the\n"
        "               password comes from ORBIVIST_DIAL_PASSWORD, the user name, if any,\n"
        "               from --user); --hang-up ends every dial-up connection afterwards\n"
        "               (nothing is hung up without it)\n"
        "Settings not given come from DIR/ORB.ini, which the commands never write. Each option\n"
        "is given at most once; W, H and D are whole numbers of at least 1. A FILE without an\n"
        "extension gets .jpg.\n"
        "Progress goes to standard error; Ctrl+C cancels at the next tile or block.\n"
        "Exit status: 0 done, 1 failure, 2 error limit reached, 3 picture or map too large,\n"
        "4 cancelled, 5 done but some tiles could not be obtained (the last line says how\n"
        "many; a stitched picture shows them as \"Не удалось загрузить\").\n"
        "  --help       show this text\n"
        "  --version    print the version\n");
}
