// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The batch commands of the command line: what was asked, before anything is run.
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <variant>

// A point to centre the view on, as the search does: decimal degrees, north and east positive.
struct CommandPoint {
    double latitude = 0;
    double longitude = 0;
    int level = 1;
};

// The scheduling dialog's choices given on the command line.
struct CommandSchedule {
    int delayMinutes = 0;
    std::optional<QString> dialEntry;
    QString user;
    bool hangUp = false;
    // Any of them given: the job waits, dials or hangs up as the dialog would have it.
    bool any = false;
};

// A region of any shape in the place of the view's: a box or the area of a file.
struct CommandRegion {
    std::optional<std::array<double, 4>> box; // west, south, east, north in degrees
    QString areaFile;                         // read through GDAL, when there is no box
    double bufferMetres = 500;                // around the file's lines and points
};

// The retry and error-limit settings of the settings tab, and the source's pace, given for one
// run; what is not given comes from ORB.ini and the sources file.
struct CommandRetry {
    std::optional<int> attempts;     // --retries: attempts per tile
    std::optional<int> pauseSeconds; // --retry-pause
    std::optional<int> receiveLimit; // --max-errors receive=N
    std::optional<int> badFileLimit; // bad=N
    std::optional<int> writeLimit;   // write=N
    std::optional<double> rate;      // --rate: requests per second, only ever lower
    std::optional<qint64> bandwidth; // --bandwidth: bytes per second, only ever lower
    // --refresh-older-than (prefill and export): cached tiles at least so many days old are
    // asked about again.
    std::optional<int> refreshOlderThanDays;
};

// --levels A-B: every level from first to last.
struct CommandLevels {
    int first = 0;
    int last = 0;
};

struct StitchCommand {
    QString home;
    CommandRetry retry;
    QString output;
    std::optional<QString> columns; // a whole number of at least 1, as the window's field holds it
    std::optional<QString> rows;
    std::optional<int> quality;
    std::optional<CommandPoint> at;
    CommandSchedule schedule;
    std::optional<QString> source; // the imagery source by name; ORB.ini's choice without it
    // The rectangle covering the region at regionLevel, in the place of the view's W x H.
    std::optional<CommandRegion> region;
    int regionLevel = 0;
};

struct PrefillCommand {
    QString home;
    CommandRetry retry;
    std::optional<QString> depth; // a whole number of at least 1
    std::optional<CommandPoint> at;
    CommandSchedule schedule;
    std::optional<QString> source;
    std::optional<CommandRegion> region;
    std::optional<CommandLevels> levels; // with a region; its single level is the depth without
    bool dryRun = false;                 // with a region: the estimate alone
};

// Writing the region a prefill of the view covers, from the view's level to the depth, as
// one file for other programs, of the format the output's extension names.
struct ExportCommand {
    QString home;
    CommandRetry retry;
    QString output;               // ends in an extension ExportFormatOf knows
    std::optional<QString> depth; // a whole number of at least 1
    std::optional<CommandPoint> at;
    std::optional<QString> source;
    std::optional<CommandRegion> region;
    std::optional<CommandLevels> levels; // with a region; the view's level to the depth without
    bool dryRun = false;
};

struct CommandError {
    QString reason; // one line
};

// --help (or -h) in the place of an option.
struct HelpRequest {
    QString command; // the command whose options to list; empty for the whole program
};

using BatchCommand =
    std::variant<StitchCommand, PrefillCommand, ExportCommand, HelpRequest, CommandError>;

// True when argv names a batch command (its first argument is "stitch", "prefill" or
// "export").
bool IsBatchCommand(const QStringList& arguments);

// arguments without the program name: the command word, then its options. Each option at
// most once, each value in full (a number is a whole number, a point finite); anything else
// is a CommandError naming the option.
BatchCommand ParseBatchCommand(const QStringList& arguments);

// Where the command word stands among arguments (without the program name): the first word
// that is neither an option nor the value of one, since the options every run takes (--home,
// --source, --lang) and Qt's own may come before it. Nothing when there is none.
std::optional<qsizetype> CommandWordIndex(const QStringList& arguments);

// Why the viewer cannot start with these arguments (without the program name), or nothing:
// asked before anything of Qt runs, so that a mistyped command or option never reaches the
// display. A word that is no command, a --option the viewer does not take, a missing value.
std::optional<QString> ViewerArgumentsRefusal(const QStringList& arguments);

// The usage text for --help: the whole program's, or that of command ("stitch", "prefill",
// "export") alone. Every option with its range.
QString UsageText(const QString& command = {});
