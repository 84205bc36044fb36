// The text of --help: the synopsis of each command and every option with its range.
#include "app/command_line.h"

#include "gis/area_file.h"
#include "store/settings.h"

#include <vector>

namespace {

enum Runs : unsigned {
    kViewer = 1,
    kStitch = 2,
    kPrefill = 4,
    kExport = 8,
    kJobs = kStitch | kPrefill | kExport,
    kAll = kViewer | kJobs,
};

struct OptionHelp {
    const char* option;
    QString text; // may span lines; each continuation is indented by the caller
    unsigned runs;
};

QString Range(SpinRange range) {
    return QStringLiteral("%1 to %2").arg(range.min).arg(range.max);
}

std::vector<OptionHelp> Options() {
    namespace R = SettingsRange;
    return {
        {"--home DIR",
         QStringLiteral("program directory holding ORB.ini, Favorites.dat and the cache Cash/\n"
                        "(default: the executable's directory; installed: "
                        "$XDG_DATA_HOME/orbivist, ~/.local/share/orbivist)"),
         kAll},
        {"--source NAME",
         QStringLiteral("imagery source of Sources.ini or DIR/MySources.ini by name (default: "
                        "the\none chosen in the viewer, else demo)"),
         kAll},
        {"--lang en|ru",
         QStringLiteral("language of the window and of every message (default: English for "
                        "an\nEnglish locale, else Russian)"),
         kAll},
        {"--output FILE",
         QStringLiteral("FILE.jpg: a progressive JPEG with .map, .jgw, .prj and .aux.xml "
                        "beside it\n(a name without an extension gets .jpg); FILE.tif: a "
                        "Cloud-Optimized\nGeoTIFF (EPSG:3857) of any size the disk holds"),
         kStitch},
        {"--output FILE",
         QStringLiteral("the format its name gives: .mbtiles, .gpkg (GeoPackage), .sqlitedb\n"
                        "(OsmAnd, Locus), .orux (an OruxMaps map folder), .pmtiles, or .kmz,\n"
                        "ground overlays of the deepest level (at most 100 pictures of 4 x 4\n"
                        "tiles, the limit of Garmin's custom maps)"),
         kExport},
        {"--columns W", QStringLiteral("tiles east of the view's top-left tile, 1 or more"),
         kStitch},
        {"--rows H", QStringLiteral("tiles south of it, 1 or more"), kStitch},
        {"--quality Q", QStringLiteral("JPEG quality, %1").arg(Range(R::JpegQuality)), kStitch},
        {"--depth D",
         QStringLiteral("deepest level, from the view's level to %1").arg(R::SearchLevel.max),
         kPrefill | kExport},
        {"--at LAT,LON",
         QStringLiteral("centre the view on a point first, as the search does: decimal "
                        "degrees,\nlatitude -90 to 90, longitude -180 to 180, north and east "
                        "positive"),
         kJobs},
        {"--level L",
         QStringLiteral("with --at, the view's level, %1; with --bbox or --area, the level\n"
                        "stitched")
             .arg(Range(R::SearchLevel)),
         kJobs},
        {"--bbox W,S,E,N",
         QStringLiteral("a region of its own instead of the view's, in decimal degrees (west "
                        "above\neast crosses the 180th meridian)"),
         kJobs},
        {"--area FILE",
         QStringLiteral("the region of a GPX, KML, KMZ, GeoJSON, Shapefile or GeoPackage file"),
         kJobs},
        {"--buffer METRES",
         QStringLiteral("with --area, corridors either side of its lines and around its "
                        "points,\n0 to %1 (default 500)")
             .arg(static_cast<int>(kMaxBufferMetres)),
         kJobs},
        {"--levels A-B",
         QStringLiteral("with a region, every level from A to B, %1").arg(Range(R::SearchLevel)),
         kPrefill | kExport},
        {"--dry-run",
         QStringLiteral("with a region, print per level the tiles, those to fetch, their "
                        "estimated\nsize and the free space, and fetch nothing"),
         kPrefill | kExport},
        {"--retries N",
         QStringLiteral("attempts per tile, %1 (default: ORB.ini's)").arg(Range(R::FetchAttempts)),
         kJobs},
        {"--retry-pause S",
         QStringLiteral("seconds between attempts, %1").arg(Range(R::RetryInterval)), kJobs},
        {"--max-errors receive=N,bad=N,write=N",
         QStringLiteral("stop at so many receive errors (%1), bad files (%2)\nor write errors "
                        "(%3); any of the three")
             .arg(Range(R::ReceiveErrorLimit), Range(R::BadFileErrorLimit),
                  Range(R::WriteErrorLimit)),
         kJobs},
        {"--delay H:MM",
         QStringLiteral("wait this long first, hours %1, minutes %2")
             .arg(Range(R::DelayHours), Range(R::DelayMinutes)),
         kStitch | kPrefill},
        {"--dial ENTRY",
         QStringLiteral("dial a pppd peer first; the password comes from ORBIVIST_DIAL_PASSWORD"),
         kStitch | kPrefill},
        {"--user NAME", QStringLiteral("with --dial, the user name (default: the peer file's)"),
         kStitch | kPrefill},
        {"--hang-up",
         QStringLiteral("end every dial-up connection afterwards (nothing is hung up without "
                        "it)"),
         kStitch | kPrefill},
        {"--help", QStringLiteral("show this text"), kAll},
        {"--version", QStringLiteral("print the version"), kViewer},
    };
}

// text in lines of at most width characters, broken between words, joined by separator.
QString Wrapped(const QString& text, qsizetype width, const QString& separator) {
    QStringList lines{QString()};
    for (const QString& word : QString(text).replace(u'\n', u' ').split(u' ', Qt::SkipEmptyParts)) {
        if (!lines.last().isEmpty() && lines.last().size() + 1 + word.size() > width)
            lines << QString();
        lines.last() += (lines.last().isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    return lines.join(separator);
}

unsigned RunsOf(const QString& command) {
    if (command == QLatin1String("stitch"))
        return kStitch;
    if (command == QLatin1String("prefill"))
        return kPrefill;
    if (command == QLatin1String("export"))
        return kExport;
    return kAll;
}

QString Synopsis(unsigned runs) {
    QString text;
    const auto line = [&](unsigned run, const char* synopsis) {
        if (runs & run)
            text += QString::fromUtf8(synopsis);
    };
    line(kViewer, "       orbivist [--home DIR] [--source NAME] [--lang en|ru]\n");
    line(kStitch, "       orbivist stitch --output FILE [OPTIONS]\n"
                  "           fetch W x H tiles east and south of the view's top-left tile, or\n"
                  "           the tiles covering --bbox or --area at --level, as one picture\n");
    line(kPrefill, "       orbivist prefill [OPTIONS]\n"
                   "           fetch every tile of the view's region at level D into the cache\n");
    line(kExport, "       orbivist export --output FILE [OPTIONS]\n"
                  "           write every tile of that region from the view's level to D, from "
                  "the\n           cache or fetched, into FILE of the format its name gives\n");
    return text.replace(0, 6, QStringLiteral("Usage:"));
}

} // namespace

QString UsageText(const QString& command) {
    constexpr int kColumn = 24;
    constexpr int kWidth = 79;
    const QString newLine = QStringLiteral("\n");
    const unsigned runs = RunsOf(command);
    QString text = Synopsis(runs);
    if (runs == kAll)
        text += newLine +
                Wrapped(QStringLiteral("Satellite imagery viewer with an offline tile cache. "
                                       "Without a command it opens the viewer; the commands run "
                                       "a batch job without a display. orbivist COMMAND --help "
                                       "lists the options of one command."),
                        kWidth, newLine) +
                newLine;
    text += QStringLiteral("\nOptions:\n");
    const QString indent(kColumn, u' ');
    for (const OptionHelp& o : Options()) {
        if (!(o.runs & runs))
            continue;
        QString name = QStringLiteral("  ") + QString::fromUtf8(o.option);
        const QString body = Wrapped(o.text, kWidth - kColumn, newLine + indent);
        text += name.size() < kColumn ? name.leftJustified(kColumn) + body + newLine
                                      : name + newLine + indent + body + newLine;
    }
    if (runs & kJobs) {
        const QString paragraphs[] = {
            QStringLiteral("Settings not given come from DIR/ORB.ini, which the commands never "
                           "write. Each option is given at most once. A template source trusts "
                           "the certificates of ORBIVIST_CA_FILE besides the system's, and its "
                           "User-Agent names ORBIVIST_CONTACT. The demo source on its default "
                           "address starts the bundled orbivist-tileserver when nothing answers "
                           "there. Progress goes to standard error; Ctrl+C cancels at the next "
                           "tile."),
            QStringLiteral("Exit status: 0 done, 1 failure, 2 error limit reached, 3 picture or "
                           "map too large, 4 cancelled, 5 done but some tiles could not be "
                           "obtained (the last line says how many; a stitched picture shows a "
                           "placeholder for each)."),
        };
        for (const QString& paragraph : paragraphs)
            text += newLine + Wrapped(paragraph, kWidth, newLine) + newLine;
    }
    return text;
}
