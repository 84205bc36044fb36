// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/jobs/stitch_job.h"

#include "batch/jobs/error_count_texts.h"
#include "batch/jobs/job_run.h"
#include "batch/jobs/progress_text.h"
#include "batch/jobs/stitch_plan.h"
#include "batch/jobs/stitch_size.h"
#include "batch/outputs/stitch_output.h"
#include "image/rgb_picture.h"
#include "loader/tile_cache.h"
#include "os/atomic_file.h"
#include "os/temp_files.h"
#include "tiles/tile_side.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cerrno>
#include <optional>

namespace {

// Everything one run keeps while it goes from ending to ending.
class StitchRun {
public:
    StitchRun(const StitchInputs& inputs, JobRun& run, JobControls& controls, JobObserver& observer)
        : in_(inputs), run_(run), controls_(controls), observer_(observer) {}

    JobEnding Run() {
        in_.counters.ResetErrors();
        if (in_.output && StitchFormatOf(*in_.output) == StitchFormat::GeoTiff)
            return RunStreamed(*in_.output);
        // A size that can never be made is refused now, not after the countdown and the dial.
        if (StitchSizeRefusal(in_.columns, in_.rows, in_.availableMemory))
            return TooLarge();
        if (!Start())
            return run_.End(JobEnding::ScheduleCancelled);

        // The memory can still be gone by now: the bitmap itself may be refused.
        std::optional<RgbPicture> picture = RgbPicture::Create(
            std::int64_t{in_.columns} * kTileSide, std::int64_t{in_.rows} * kTileSide);
        if (!picture)
            return TooLarge();

        // Planned over the letters alone: the source makes each one's request.
        const TileSource& source = run_.Source();
        const QString anchorLetters = source.Request(in_.view[0]).quadPath;
        const StitchPlan plan = PlanStitch(anchorLetters, in_.columns, in_.rows);
        run_.ReadAhead(StitchTiles(run_.SharedSource(), plan));
        std::int64_t position = 0;
        for (const StitchTile& tile : plan.tiles) {
            if (const std::optional<JobEnding> stop = NextTile(position++))
                return Stopped(*stop);
            const TileRequest request = source.Request(source.RefOf(tile.letters));
            DrawTile(*picture, request, tile.x, tile.y);
        }

        const bool hungUp = run_.HangUpAsScheduled();
        const bool saved = Save(*picture, anchorLetters, plan.southEastLetters);
        picture.reset(); // the picture can be huge: gone before the view is loaded again
        return End(saved && hungUp);
    }

private:
    // Nothing is written when the user declines; a failure is reported and leaves the
    // earlier files as they were. The saving uses the picture up.
    bool Save(RgbPicture& picture, const QString& anchorLetters, const QString& southEastLetters) {
        const std::optional<QString> path = controls_.AskOutputFile();
        if (!path)
            return true;
        RemoveStaleTempFiles(QFileInfo(*path).absolutePath());
        const StitchOutputOptions options = OutputOptions(anchorLetters, southEastLetters);
        StitchOutput output(*path, options);
        // A GeoTIFF needs room for its scratch copy as well: said before minutes of writing.
        if (output.Format() == StitchFormat::GeoTiff &&
            !GeoTiffFitsOnDisk(*path, options.block, GeoTiffCompression::Jpeg)) {
            ReportCannotWrite(*path, WriteFailureText(ENOSPC));
            return false;
        }
        return output.SaveWhole(picture, FinishProgress()) || Reported(output);
    }

    // A GeoTIFF named before the first tile: one row of tiles in memory at a time, row by
    // row from the north and each row from the west. Its size is bounded by the disk, which
    // is checked before anything is fetched.
    JobEnding RunStreamed(const QString& path) {
        const TileSource& source = run_.Source();
        const StitchOutputOptions options = OutputOptions(source.Request(in_.view[0]).quadPath, {});
        if (StreamedStitchRefusal(in_.columns, in_.rows, in_.availableMemory))
            return TooLarge();
        // Too large for this disk: a small picture on a full disk is no large picture.
        if (!GeoTiffFitsOnDisk(path, options.block, GeoTiffCompression::Jpeg))
            return TooLarge(CannotWriteText(path, WriteFailureText(ENOSPC)));
        if (!Start())
            return run_.End(JobEnding::ScheduleCancelled);
        std::optional<RgbPicture> band = RgbPicture::Create(in_.columns * kTileSide, kTileSide);
        if (!band)
            return TooLarge();
        RemoveStaleTempFiles(QFileInfo(path).absolutePath());
        StitchOutput output(path, options);
        bool written = output.Begin() || Reported(output);
        // The read-ahead keeps the source's connections busy along a copy of the loop's walk.
        UpcomingTiles tiles = BlockRowsTiles(run_.SharedSource(), options.block);
        run_.ReadAhead(tiles);
        std::int64_t position = 0;
        for (std::int64_t row = 0; written && row < in_.rows; ++row) {
            for (std::int64_t column = 0; column < in_.columns; ++column) {
                if (const std::optional<JobEnding> stop = NextTile(position++))
                    return Stopped(*stop);
                const std::optional<TileRequest> request = tiles();
                DrawTile(*band, *request, column * kTileSide, 0);
            }
            written = output.AddTileRow(*band) || Reported(output);
        }
        const bool hungUp = run_.HangUpAsScheduled();
        written = written && (output.Finish(FinishProgress()) || Reported(output));
        return End(written && hungUp);
    }

    // Loads the tile straight into its square of picture, or draws what came instead.
    void DrawTile(RgbPicture& picture, const TileRequest& request, qint64 x, qint64 y) {
        const PixelRows square = picture.Square(x, y, kTileSide, kTileSide);
        if (const TilePixels* drawn = run_.LoadTileInto(request, in_.settings.retry, square))
            picture.DrawTile(*drawn, x, y);
    }

    // The scheduling choice, then the start; false when the choice was cancelled.
    bool Start() {
        if (!run_.Schedule(in_.settings))
            return false;
        run_.SetTotal(std::int64_t{in_.columns} * in_.rows);
        run_.Begin();
        return true;
    }

    // The checks before each tile; the ending when one of them stops the job.
    std::optional<JobEnding> NextTile(std::int64_t position) {
        const std::int64_t tileCount = std::int64_t{in_.columns} * in_.rows;
        run_.Progress(position + 1, FetchedStatusText(position, tileCount));
        if (run_.Cancelled())
            return JobEnding::Cancelled;
        run_.Pump();
        if (ErrorLimitReached(in_.settings.retry, in_.counters))
            return JobEnding::ErrorLimit;
        return std::nullopt;
    }

    JobEnding End(bool done) {
        if (savingCancelled_)
            return run_.End(JobEnding::Cancelled);
        return run_.End(done ? JobEnding::Done : JobEnding::Failed);
    }

    // The block the picture shows and what its files say about it.
    StitchOutputOptions OutputOptions(const QString& anchorLetters,
                                      const QString& southEastLetters) const {
        const TileKey anchor =
            TileKey::FromLetters(anchorLetters.toStdString()).value_or(TileKey{});
        return {.block = {anchor.level, anchor.column, anchor.row, in_.columns, in_.rows},
                .quality = in_.quality,
                .calibrationTemplate = in_.calibrationTemplate,
                .anchorLetters = anchorLetters,
                .southEastLetters = southEastLetters};
    }

    // Building a GeoTIFF's overviews takes a while: the program stays alive and "Отмена"
    // stops it.
    GeoTiffProgress FinishProgress() {
        return [this](double) {
            run_.Pump();
            return !run_.Cancelled();
        };
    }

    // Says why the output failed, unless it was cancelled; false either way.
    bool Reported(const StitchOutput& output) {
        savingCancelled_ = output.Cancelled();
        if (!savingCancelled_)
            ReportCannotWrite(output.FailedPath(), output.ErrorText());
        return false;
    }

    // The picture is only worth its map: a map without its picture, or the other way
    // round, is reported, and what was there before under either name stays.
    void ReportCannotWrite(const QString& path, const QString& reason) {
        observer_.OnMessage(ErrorsCaption(), CannotWriteText(path, reason));
    }

    static QString CannotWriteText(const QString& path, const QString& reason) {
        QString text =
            QCoreApplication::translate("StitchJob", "Запись файла %1 невозможна").arg(path);
        if (!reason.isEmpty())
            text += QStringLiteral(": ") + reason;
        return text;
    }

    JobEnding Stopped(JobEnding ending) {
        run_.HangUpAsScheduled();
        return run_.End(ending, ending == JobEnding::ErrorLimit ? ErrorLimitMessage(in_.counters)
                                                                : QString());
    }

    JobEnding TooLarge(const QString& why = {}) {
        run_.HangUpBeforeScheduling(in_.settings);
        return run_.End(
            JobEnding::TooLarge,
            !why.isEmpty()
                ? why
                : QCoreApplication::translate(
                      "StitchJob", "Выполнить невозможно - слишком большое изображение?"));
    }

    const StitchInputs& in_;
    JobRun& run_;
    JobControls& controls_;        // the save dialog at the end
    JobObserver& observer_;        // the message of a failed write
    bool savingCancelled_ = false; // "Отмена" while a GeoTIFF was being finished
};

} // namespace

JobEnding RunStitch(const StitchInputs& inputs, const JobServices& services, JobControls& controls,
                    JobObserver& observer) {
    JobRun run(services, controls, observer, inputs.counters);
    return StitchRun(inputs, run, controls, observer).Run();
}
