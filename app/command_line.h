#pragma once
// The batch commands of the command line: what was asked, before anything is run.
#include <QString>
#include <QStringList>
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

struct StitchCommand {
    QString home;
    QString output;
    std::optional<QString> columns; // as typed into the window's field
    std::optional<QString> rows;
    std::optional<int> quality;
    std::optional<CommandPoint> at;
    CommandSchedule schedule;
};

struct PrefillCommand {
    QString home;
    std::optional<QString> depth;
    std::optional<CommandPoint> at;
    CommandSchedule schedule;
};

struct CommandError {
    QString reason; // one line
};

using BatchCommand = std::variant<StitchCommand, PrefillCommand, CommandError>;

// True when argv names a batch command (its first argument is "stitch" or "prefill").
bool IsBatchCommand(const QStringList& arguments);

// arguments without the program name: the command word, then its options.
BatchCommand ParseBatchCommand(const QStringList& arguments);

// The usage text of the whole program, for --help.
QString UsageText();
