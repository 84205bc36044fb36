// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/batch_command.h"

#include "app/demo_server_launch.h"
#include "app/failure_tally.h"
#include "app/program_home.h"
#include "app/terminal_front_end.h"
#include "batch/dialup/pppd_dial_up.h"
#include "batch/jobs/available_memory.h"
#include "batch/jobs/bulk_download_check.h"
#include "batch/jobs/export_job.h"
#include "batch/jobs/prefill_job.h"
#include "batch/jobs/region_choice.h"
#include "batch/jobs/region_export_job.h"
#include "batch/jobs/region_prefill_job.h"
#include "batch/jobs/stitch_from_cache.h"
#include "batch/jobs/stitch_job.h"
#include "batch/jobs/stitch_plan.h"
#include "batch/jobs/stitch_size.h"
#include "batch/outputs/calibration_file.h"
#include "batch/outputs/export_format.h"
#include "batch/outputs/output_check.h"
#include "batch/outputs/stitch_output.h"
#include "gis/area_file.h"
#include "loader/source_refresh.h"
#include "loader/source_services.h"
#include "os/atomic_file.h"
#include "os/child_process.h"
#include "os/temp_files.h"
#include "sources/source_cache_folder.h"
#include "sources/source_pace.h"
#include "sources/tile_source.h"
#include "store/settings.h"
#include "store/settings_layout.h"
#include "tiles/decimal_text.h"
#include "tiles/region_cover.h"
#include "tiles/tile_search.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <unistd.h>

namespace {

void Say(std::FILE* stream, const QString& text) {
    std::fprintf(stream, "orbivist: %s\n", text.toUtf8().constData());
}

// What both commands set up the same way from the home directory's settings.
struct Session {
    QString home;
    Settings settings;
    ViewUrls view;
    QString cacheRoot;
    SourceDefinition source;
    std::optional<int> refreshDays; // --refresh-older-than

    ViewRefs Refs() const { return ViewRefs(view, settings.view.prefixLength); }
};

// The source named on the command line, else the one chosen in the viewer. A name the
// sources files do not hold is refused rather than replaced: a job must not download from
// another server than the one asked for.
std::optional<SourceDefinition> ChosenSource(const QString& home, const Settings& settings,
                                             const std::optional<QString>& option,
                                             std::FILE* stream) {
    // The same rule as the window's: installed, the shipped sources lie with the read-only files.
    const SourceCatalog catalog =
        ProgramSources(OpenProgramHome(home, QCoreApplication::applicationDirPath()));
    for (const QString& problem : catalog.problems)
        Say(stream, problem);
    const auto found = FindSource(catalog, option.value_or(settings.sourceName));
    if (const QString* reason = std::get_if<QString>(&found)) {
        Say(stream, *reason);
        return std::nullopt;
    }
    return std::get<SourceDefinition>(found);
}

// The retries and error limits given for this run in the place of ORB.ini's, which stays as
// it is.
void TakeRetry(const CommandRetry& retry, Settings& settings) {
    settings.fetchAttempts = retry.attempts.value_or(settings.fetchAttempts);
    settings.retryInterval = retry.pauseSeconds.value_or(settings.retryInterval);
    settings.receiveErrorLimit = retry.receiveLimit.value_or(settings.receiveErrorLimit);
    settings.badFileErrorLimit = retry.badFileLimit.value_or(settings.badFileErrorLimit);
    settings.writeErrorLimit = retry.writeLimit.value_or(settings.writeErrorLimit);
}

std::optional<Session> OpenSession(const QString& homeArgument, const CommandRetry& retry,
                                   const std::optional<CommandPoint>& at,
                                   const std::optional<QString>& sourceOption, std::FILE* stream) {
    QString home = QDir(homeArgument).absolutePath();
    if (!QFileInfo(home).isDir()) {
        Say(stream, QCoreApplication::translate("BatchCommand", "нет такой папки: %1").arg(home));
        return std::nullopt;
    }
    if (!home.endsWith('/'))
        home += '/';
    const ProgramHome program(home);
    Session s{home, ReadSettings(program.File(kSettingsFileName.toString())), {}, {}, {}, {}};
    TakeRetry(retry, s.settings);
    const std::optional<SourceDefinition> source =
        ChosenSource(home, s.settings, sourceOption, stream);
    if (!source)
        return std::nullopt;
    s.source = WithLowerPace(*source, retry.rate, retry.bandwidth);
    s.refreshDays = retry.refreshOlderThanDays;
    // Said before the job starts rather than as an error on every tile.
    if (const QString problem = CaFileProblem(qEnvironmentVariable(kCaFileVariable));
        source->kind != SourceKind::Demo && !problem.isEmpty()) {
        Say(stream, problem);
        return std::nullopt;
    }
    s.view = s.settings.view.urls;
    if (at) {
        // As the search tab takes it: unsigned degrees and a hemisphere each.
        const TileSearch found =
            LatLonToTile(std::abs(at->latitude), std::abs(at->longitude), at->latitude < 0 ? 1 : 0,
                         at->longitude < 0 ? 0 : 1, at->level);
        // On the prefix of the view the settings hold.
        s.view = s.Refs().Rebuilt(ViewMove::FromSlot(0, SearchViewFor(found).view));
    }
    s.cacheRoot = CacheRootOf(s.settings, program.DefaultCacheRoot());
    // The program never makes its cache directory; without it every tile would be a write
    // error, so say so at once.
    if (!QFileInfo(s.cacheRoot).isDir()) {
        Say(stream,
            QCoreApplication::translate("BatchCommand", "папки кэша %1 нет").arg(s.cacheRoot));
        return std::nullopt;
    }
    RemoveStaleTempFiles(s.cacheRoot);
    MakeSourceFolder(s.source, s.cacheRoot);
    return s;
}

// Waiting or dialling shows the scheduling dialog's steps; only --hang-up hangs up, at every
// ending the too-large one included.
BatchSettings ScheduleSettings(const BatchRetry& retry, const CommandSchedule& schedule) {
    return BatchSettings{
        .retry = retry, .scheduleDialog = schedule.any, .scheduleOptionHangsUp = false};
}

// The client of the session's source. Ctrl+C ends a wait for a silent server at once; the job
// then ends at its next check.
std::unique_ptr<HttpGet> SessionHttp(const Session& session, StopSignals& cancel,
                                     DailyQuota* quota) {
    const Settings& s = session.settings;
    const ProxySettings proxy =
        s.useProxy ? ProxyFromFields(s.proxyServer, s.proxyPort, s.proxyUser, s.proxyPassword)
                   : ProxySettings{};
    TransportSettings settings = TransportSettingsWith(proxy);
    settings.quota = quota;
    return HttpGetFor(
        session.source, settings,
        FetchHooks{.whileWaiting = nullptr, .stop = [&cancel] { return cancel.Requested(); }});
}

// The network, the dial-up service and the terminal, set up the same way for both commands.
struct Terminal {
    Terminal(const Session& session, StopSignals& cancel, const CommandSchedule& schedule,
             std::FILE* stream, std::optional<QString> output = std::nullopt)
        : demoServer(session.source, session.Refs().Prefix(),
                     QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath()),
          quota(session.source.dailyLimit > 0
                    ? std::make_unique<DailyQuota>(
                          SourceCacheFolder(session.cacheRoot, session.source),
                          session.source.dailyLimit)
                    : nullptr),
          http(SessionHttp(session, cancel, quota.get())), tally(*http),
          refresh(session.source, session.cacheRoot, session.refreshDays),
          front(TerminalFrontEnd::Setup{
              .cancel = cancel,
              .schedule = schedule,
              .password = qEnvironmentVariable(kDialPasswordVariable),
              .output = std::move(output),
              .stream = stream,
              .redraw = isatty(fileno(stream)) != 0,
          }),
          services{.tiles =
                       ViewSource{TileSourceFor(session.source, session.Refs(), session.cacheRoot),
                                  WorkModeOf(session.settings), tally},
                   .dialUp = dialUp} {
        services.tiles.refresh = refresh.ForJobs();
        // Ctrl+C ends a wait for pppd at once, too.
        dialUp.SetStopCheck([&cancel] { return cancel.Requested(); });
    }

    // Started first and stopped last: the demo server, when the job needs it and none runs.
    DemoServerLaunch demoServer;
    std::unique_ptr<DailyQuota> quota; // the source's requests a day, when it has a quota
    std::unique_ptr<HttpGet> http;
    FailureTally tally;
    SourceRefresh refresh;
    PppdDialUp dialUp;
    TerminalFrontEnd front;
    JobServices services;

    // A job that did not end done says how it ended on its last line, with the commonest
    // reason its fetches failed; the exit status follows from the ending.
    int NotDone(JobEnding ending, std::FILE* stream) const {
        const QString reason = tally.Commonest();
        switch (ending) {
        case JobEnding::Cancelled:
        case JobEnding::ScheduleCancelled:
            Say(stream, QCoreApplication::translate("BatchCommand", "отменено"));
            break;
        case JobEnding::ErrorLimit:
            Say(stream,
                reason.isEmpty()
                    ? QCoreApplication::translate("BatchCommand", "остановлено по пределу ошибок")
                    : QCoreApplication::translate("BatchCommand",
                                                  "остановлено по пределу ошибок: %1")
                          .arg(reason));
            break;
        case JobEnding::Failed:
            // Without a failed fetch, what the job said is why it failed (a full disk).
            Say(stream, reason.isEmpty() && front.EndMessage().isEmpty()
                            ? QCoreApplication::translate("BatchCommand", "не удалось")
                            : QCoreApplication::translate("BatchCommand", "не удалось: %1")
                                  .arg(reason.isEmpty() ? front.EndMessage() : reason));
            break;
        case JobEnding::TooLarge:
            // The job says what is too large for what (the picture for the disk).
            Say(stream,
                front.EndMessage().isEmpty()
                    ? QCoreApplication::translate("BatchCommand", "отказано: слишком большой объём")
                    : QCoreApplication::translate("BatchCommand", "отказано: %1")
                          .arg(front.EndMessage()));
            break;
        case JobEnding::DailyLimit:
            // Failure with its reason: a script sees that the job is not done, and when it
            // may run again.
            Say(stream,
                QCoreApplication::translate("BatchCommand", "дневной лимит источника (%1 запросов) "
                                                            "исчерпан; продолжить можно с %2")
                    .arg(quota ? quota->Limit() : 0)
                    .arg(quota ? quota->ResumesOn().toString(Qt::ISODate) : QString()));
            break;
        case JobEnding::Done:
            break;
        }
        return ExitStatusOf(ending);
    }

    // Before the last line of a job done with tiles missing: why they are.
    void SayWhyMissing(const TileCounters& counters, std::FILE* stream) const {
        if (counters.tilesMissing > 0 && !tally.Commonest().isEmpty())
            Say(stream, QCoreApplication::translate("BatchCommand", "не удались загрузки: %1")
                            .arg(tally.Commonest()));
    }

    // After a job that refreshed the cache, however it ended: what became of the tiles due.
    void SayRefreshed(const TileCounters& counters, std::FILE* stream) const {
        if (refresh.Asked() ||
            counters.tilesConfirmed + counters.tilesReplaced + counters.tilesKeptStale > 0)
            Say(stream, QCoreApplication::translate("BatchCommand",
                                                    "обновление кэша: подтверждено %1, заменено "
                                                    "%2, оставлено прежними %3")
                            .arg(counters.tilesConfirmed)
                            .arg(counters.tilesReplaced)
                            .arg(counters.tilesKeptStale));
    }
};

// The region of the command: its box, or the area of its file; nothing (and why said) when
// the file has none.
std::optional<GeoRegion> CommandGeoRegion(const CommandRegion& region, std::FILE* stream) {
    if (region.box) {
        const auto& [west, south, east, north] = *region.box;
        return GeoRegion::Box(west, south, east, north);
    }
    const AreaFile area =
        ReadAreaFile(QFileInfo(region.areaFile).absoluteFilePath(), region.bufferMetres);
    if (!area.error.isEmpty()) {
        Say(stream, area.error);
        return std::nullopt;
    }
    return GeoRegion(area.polygons);
}

int RunStitchCommand(const StitchCommand& command, StopSignals& cancel, std::FILE* stream,
                     const PrepareDrawnText& prepareText) {
    std::optional<Session> session =
        OpenSession(command.home, command.retry, command.at, command.source, stream);
    if (!session)
        return 1;
    const Settings& s = session->settings;
    QString columns = command.columns.value_or(s.stitchColumns);
    QString rows = command.rows.value_or(s.stitchRows);
    if (command.region) {
        const std::optional<GeoRegion> region = CommandGeoRegion(*command.region, stream);
        if (!region)
            return 1;
        const RegionLevels level{*region, command.regionLevel, command.regionLevel};
        if (const std::optional<QString> refusal = RegionLevelsRefusal(session->source, level)) {
            Say(stream, *refusal);
            return 1;
        }
        const TileBlock cover = *RegionCover(*region, command.regionLevel);
        ViewUrls letters;
        const std::array<TileKey, 4> block = CellInBlock(cover, 0, 0).Block();
        for (std::size_t slot = 0; slot < letters.size(); ++slot)
            letters[slot] = QString::fromStdString(block[slot].Letters());
        session->view = session->Refs().Rebuilt(ViewMove::FromSlot(0, letters));
        columns = QString::number(cover.columns);
        rows = QString::number(cover.rows);
    }
    if (const std::optional<QString> refusal =
            BulkDownloadRefusal(session->source, session->Refs().Level())) {
        Say(stream, *refusal);
        return 1;
    }
    if (!EstimateStitch(columns, rows).canStart) {
        Say(stream,
            QCoreApplication::translate("BatchCommand", "нечего склеивать: %1 x %2 фрагментов")
                .arg(columns, rows));
        return 1;
    }
    const QString output = QFileInfo(PictureFileName(command.output)).absoluteFilePath();
    if (const std::optional<QString> refusal = OutputRefusal(output)) {
        Say(stream, *refusal);
        return 1;
    }
    const bool jpeg = StitchFormatOf(output) == StitchFormat::Jpeg;
    if (const std::optional<QString> refusal =
            jpeg ? CalibrationPathRefusal(output) : std::nullopt) {
        Say(stream, *refusal); // before anything is fetched
        return 1;
    }
    RemoveStaleTempFiles(QFileInfo(output).absolutePath());
    // Drawn text takes a GUI application; a stitch whose every tile the cache holds, usable,
    // draws no stand-in and does without it. The check reads every file once more, which
    // costs more than the GUI's start from a few hundred tiles on.
    constexpr int kCheckedTiles = 256;
    const bool fromCache =
        WorkModeOf(s) != WorkMode::InternetOnly && !session->refreshDays &&
        std::int64_t{StitchSideFromText(columns)} * StitchSideFromText(rows) <= kCheckedTiles &&
        StitchWhollyCached(*TileSourceFor(session->source, session->Refs(), session->cacheRoot),
                           session->view, StitchSideFromText(columns), StitchSideFromText(rows));
    if (!fromCache)
        prepareText();
    TileCounters counters;
    Terminal terminal(*session, cancel, command.schedule, stream, output);
    const StitchInputs inputs{
        .view = session->view,
        .counters = counters,
        .settings = ScheduleSettings(BatchRetryOf(s), command.schedule),
        .columns = StitchSideFromText(columns),
        .rows = StitchSideFromText(rows),
        .quality = command.quality.value_or(s.jpegQuality),
        .calibrationTemplate = CalibrationTemplate(),
        .availableMemory = AvailableMemory(),
        .output = output,
    };
    const JobEnding ending = RunStitch(inputs, terminal.services, terminal.front, terminal.front);
    if (ending != JobEnding::Done)
        return terminal.NotDone(ending, stream);
    QString done = jpeg ? QCoreApplication::translate("BatchCommand", "записаны %1 и %2")
                              .arg(output, CalibrationFilePath(output))
                        : QCoreApplication::translate("BatchCommand", "записан %1").arg(output);
    if (counters.tilesMissing == 0) {
        Say(stream, done);
        return 0;
    }
    terminal.SayWhyMissing(counters, stream);
    Say(stream,
        done + QCoreApplication::translate("BatchCommand", "; %1 из %2 фрагментов получить не "
                                                           "удалось, на их месте заглушка")
                   .arg(counters.tilesMissing)
                   .arg(std::int64_t{inputs.columns} * inputs.rows));
    return kTilesMissingStatus;
}

// The session of a command over the view's region, with the view's level and the depth as a
// prefill takes them; nothing (and why said) when the depth or the source is refused.
struct Region {
    Session session;
    int level = 0;
    int depth = 0;
};

std::optional<Region> OpenRegion(const QString& home, const CommandRetry& retry,
                                 const std::optional<CommandPoint>& at,
                                 const std::optional<QString>& depthArgument,
                                 const std::optional<QString>& sourceOption, std::FILE* stream) {
    std::optional<Session> session = OpenSession(home, retry, at, sourceOption, stream);
    if (!session)
        return std::nullopt;
    const Settings& s = session->settings;
    const int depth = ParseIntOr(depthArgument.value_or(s.prefillLevel), 0);
    const int level = session->Refs().Level();
    for (const std::optional<QString>& refusal :
         {PrefillRefusal(level, depth), BulkDownloadRefusal(session->source, depth)}) {
        if (refusal) {
            Say(stream, *refusal);
            return std::nullopt;
        }
    }
    return Region{std::move(*session), level, depth};
}

// The last line of an export done: the file and its levels, and the tiles it lacks.
int ExportWritten(const QString& output, int first, int last, const TileCounters& counters,
                  std::FILE* stream) {
    // A KMZ has the deepest level alone.
    const QString done =
        ExportFormatOf(output) == ExportFormat::Kmz
            ? QCoreApplication::translate("BatchCommand", "записан %1, уровень %2")
                  .arg(output)
                  .arg(last)
            : QCoreApplication::translate("BatchCommand", "записан %1, уровни с %2 по %3")
                  .arg(output)
                  .arg(first)
                  .arg(last);
    if (counters.tilesMissing == 0) {
        Say(stream, done);
        return 0;
    }
    Say(stream, done + QCoreApplication::translate(
                           "BatchCommand", "; %1 фрагментов получить не удалось, они пропущены")
                           .arg(counters.tilesMissing));
    return kTilesMissingStatus;
}

// The session of a command over a region of any shape and its levels: --levels, else the
// depth alone (prefill) or the view's level to the depth (export); nothing (and why said) when
// the region or its levels are refused.
struct AreaRegion {
    Session session;
    RegionLevels levels;
};

std::optional<AreaRegion> OpenAreaRegion(const QString& home, const CommandRetry& retry,
                                         const CommandRegion& region,
                                         const std::optional<CommandLevels>& levels,
                                         const std::optional<QString>& depthArgument,
                                         const std::optional<QString>& sourceOption,
                                         bool fromViewLevel, std::FILE* stream) {
    std::optional<Session> session = OpenSession(home, retry, std::nullopt, sourceOption, stream);
    if (!session)
        return std::nullopt;
    const std::optional<GeoRegion> shape = CommandGeoRegion(region, stream);
    if (!shape)
        return std::nullopt;
    const int depth = ParseIntOr(depthArgument.value_or(session->settings.prefillLevel), 0);
    RegionLevels chosen{*shape, depth, depth};
    if (levels)
        chosen = {*shape, levels->first, levels->last};
    else if (fromViewLevel)
        chosen.firstLevel = std::min(session->Refs().Level(), depth);
    if (const std::optional<QString> refusal = RegionLevelsRefusal(session->source, chosen)) {
        Say(stream, *refusal);
        return std::nullopt;
    }
    return AreaRegion{std::move(*session), chosen};
}

// The estimate of a region's fetch, printed line by line: a dry run's whole output.
int RunDryRun(const AreaRegion& region, StopSignals& cancel, std::FILE* stream) {
    TileCounters counters;
    const CommandSchedule noSchedule;
    Terminal terminal(region.session, cancel, noSchedule, stream);
    RegionEstimate estimate;
    const RegionPrefillInputs inputs{
        .region = region.levels,
        .cacheRoot = region.session.cacheRoot,
        .settings = ScheduleSettings(BatchRetryOf(region.session.settings), noSchedule),
        .counters = counters,
        .dryRun = true,
        .estimate = &estimate,
    };
    const JobEnding ending =
        RunRegionPrefill(inputs, terminal.services, terminal.front, terminal.front);
    if (ending != JobEnding::Done)
        return terminal.NotDone(ending, stream);
    for (const QString& line : EstimateLines(estimate))
        Say(stream, line);
    return 0;
}

int RunAreaPrefillCommand(const PrefillCommand& command, StopSignals& cancel, std::FILE* stream) {
    const std::optional<AreaRegion> region =
        OpenAreaRegion(command.home, command.retry, *command.region, command.levels, command.depth,
                       command.source, false, stream);
    if (!region)
        return 1;
    if (command.dryRun)
        return RunDryRun(*region, cancel, stream);
    const Session& session = region->session;
    TileCounters counters;
    Terminal terminal(session, cancel, command.schedule, stream);
    const RegionPrefillInputs inputs{
        .region = region->levels,
        .cacheRoot = session.cacheRoot,
        .settings = ScheduleSettings(BatchRetryOf(session.settings), command.schedule),
        .counters = counters,
    };
    const JobEnding ending =
        RunRegionPrefill(inputs, terminal.services, terminal.front, terminal.front);
    terminal.SayRefreshed(counters, stream);
    if (ending != JobEnding::Done)
        return terminal.NotDone(ending, stream);
    const QString done =
        QCoreApplication::translate("BatchCommand", "кэш %1 содержит уровни с %2 по %3 области")
            .arg(SourceCacheFolder(session.cacheRoot, session.source))
            .arg(region->levels.firstLevel)
            .arg(region->levels.lastLevel);
    if (counters.tilesMissing == 0) {
        Say(stream, done);
        return 0;
    }
    terminal.SayWhyMissing(counters, stream);
    Say(stream, done + QCoreApplication::translate(
                           "BatchCommand", " без %1 фрагментов, которые получить не удалось")
                           .arg(counters.tilesMissing));
    return kTilesMissingStatus;
}

int RunAreaExportCommand(const ExportCommand& command, StopSignals& cancel, std::FILE* stream) {
    const std::optional<AreaRegion> region =
        OpenAreaRegion(command.home, command.retry, *command.region, command.levels, command.depth,
                       command.source, true, stream);
    if (!region)
        return 1;
    if (command.dryRun)
        return RunDryRun(*region, cancel, stream);
    const QString output = QFileInfo(command.output).absoluteFilePath();
    if (const std::optional<QString> refusal = ExportOutputRefusal(output)) {
        Say(stream, *refusal);
        return 1;
    }
    RemoveStaleTempFiles(QFileInfo(output).absolutePath());
    const Session& session = region->session;
    TileCounters counters;
    const CommandSchedule noSchedule;
    Terminal terminal(session, cancel, noSchedule, stream);
    const RegionExportInputs inputs{
        .region = region->levels,
        .output = output,
        .attribution = AttributionOf(session.source, session.Refs().Prefix()),
        .quality = session.settings.jpegQuality,
        .encoding = TileEncodingOf(session.source),
        .settings = ScheduleSettings(BatchRetryOf(session.settings), noSchedule),
        .counters = counters,
    };
    const JobEnding ending =
        RunRegionExport(inputs, terminal.services, terminal.front, terminal.front);
    terminal.SayRefreshed(counters, stream);
    if (ending != JobEnding::Done)
        return terminal.NotDone(ending, stream);
    terminal.SayWhyMissing(counters, stream);
    return ExportWritten(output, region->levels.firstLevel, region->levels.lastLevel, counters,
                         stream);
}

int RunPrefillCommand(const PrefillCommand& command, StopSignals& cancel, std::FILE* stream) {
    if (command.region)
        return RunAreaPrefillCommand(command, cancel, stream);
    const std::optional<Region> region =
        OpenRegion(command.home, command.retry, command.at, command.depth, command.source, stream);
    if (!region)
        return 1;
    const Session& session = region->session;
    const Settings& s = session.settings;
    const int depth = region->depth;
    const int level = region->level;
    TileCounters counters;
    Terminal terminal(session, cancel, command.schedule, stream);
    const PrefillInputs inputs{
        .view = session.view,
        .depth = depth,
        .settings = ScheduleSettings(BatchRetryOf(s), command.schedule),
        .counters = counters,
    };
    const JobEnding ending = RunPrefill(inputs, terminal.services, terminal.front, terminal.front);
    terminal.SayRefreshed(counters, stream);
    if (ending != JobEnding::Done)
        return terminal.NotDone(ending, stream);
    const QString tilesFolder = SourceCacheFolder(session.cacheRoot, session.source);
    if (counters.tilesMissing == 0) {
        Say(stream,
            QCoreApplication::translate("BatchCommand", "кэш %1 содержит уровень %2 области")
                .arg(tilesFolder)
                .arg(depth));
        return 0;
    }
    terminal.SayWhyMissing(counters, stream);
    Say(stream, QCoreApplication::translate("BatchCommand",
                                            "%1 из %2 фрагментов уровня %3 получить не "
                                            "удалось; кэш %4 содержит остальную часть области")
                    .arg(counters.tilesMissing)
                    .arg(PrefillTileCount(depth - level))
                    .arg(depth)
                    .arg(tilesFolder));
    return kTilesMissingStatus;
}

int RunExportCommand(const ExportCommand& command, StopSignals& cancel, std::FILE* stream) {
    if (command.region)
        return RunAreaExportCommand(command, cancel, stream);
    const std::optional<Region> region =
        OpenRegion(command.home, command.retry, command.at, command.depth, command.source, stream);
    if (!region)
        return 1;
    const Settings& s = region->session.settings;
    const int depth = region->depth;
    const int level = region->level;
    // The export starts at the view's level, which the source must serve too.
    if (const std::optional<QString> refusal = BulkDownloadRefusal(region->session.source, level)) {
        Say(stream, *refusal);
        return 1;
    }
    const QString output = QFileInfo(command.output).absoluteFilePath();
    if (const std::optional<QString> refusal = ExportOutputRefusal(output)) {
        Say(stream, *refusal);
        return 1;
    }
    RemoveStaleTempFiles(QFileInfo(output).absolutePath());
    TileCounters counters;
    const CommandSchedule noSchedule;
    Terminal terminal(region->session, cancel, noSchedule, stream);
    const ExportInputs inputs{
        .view = region->session.view,
        .depth = depth,
        .output = output,
        .attribution = AttributionOf(region->session.source, region->session.Refs().Prefix()),
        .quality = s.jpegQuality,
        .encoding = TileEncodingOf(region->session.source),
        .settings = ScheduleSettings(BatchRetryOf(s), noSchedule),
        .counters = counters,
    };
    const JobEnding ending = RunExport(inputs, terminal.services, terminal.front, terminal.front);
    terminal.SayRefreshed(counters, stream);
    if (ending != JobEnding::Done)
        return terminal.NotDone(ending, stream);
    terminal.SayWhyMissing(counters, stream);
    return ExportWritten(output, level, depth, counters, stream);
}

} // namespace

int ExitStatusOf(JobEnding ending) {
    switch (ending) {
    case JobEnding::Done:
        return 0;
    case JobEnding::ErrorLimit:
        return 2;
    case JobEnding::TooLarge:
        return 3;
    case JobEnding::Cancelled:
    case JobEnding::ScheduleCancelled:
        return 4;
    case JobEnding::Failed:
    case JobEnding::DailyLimit:
        break;
    }
    return 1;
}

int RunBatchCommand(const BatchCommand& command, StopSignals& cancel, std::FILE* stream,
                    const PrepareDrawnText& prepareText) {
    if (const auto* error = std::get_if<CommandError>(&command)) {
        Say(stream, error->reason);
        return 1;
    }
    if (std::holds_alternative<HelpRequest>(command)) {
        std::fprintf(stream, "%s",
                     UsageText(std::get<HelpRequest>(command).command).toUtf8().constData());
        return 0;
    }
    if (const auto* stitch = std::get_if<StitchCommand>(&command))
        return RunStitchCommand(*stitch, cancel, stream, prepareText);
    if (const auto* exporting = std::get_if<ExportCommand>(&command))
        return RunExportCommand(*exporting, cancel, stream);
    return RunPrefillCommand(std::get<PrefillCommand>(command), cancel, stream);
}
