#include "batch/stitch_job.h"

#include "batch/error_count_texts.h"
#include "batch/job_steps.h"
#include "batch/progress_text.h"
#include "batch/rgb_picture.h"
#include "batch/stitch_output.h"
#include "batch/stitch_plan.h"
#include "batch/stitch_size.h"
#include "fetch/tile_attempts.h"
#include "fetch/tile_cache.h"
#include "fetch/tile_loader.h"
#include "files/atomic_file.h"
#include "tiles/tile_side.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <optional>

namespace {

// Everything one run keeps while it goes from ending to ending.
class StitchRun {
public:
    StitchRun(const StitchInputs& inputs, JobFrontEnd& front) : in_(inputs), front_(front) {}

    JobEnding Run() {
        in_.counters.ResetErrors();
        front_.SetBatchActive(true);
        if (in_.output && StitchFormatOf(*in_.output) == StitchFormat::GeoTiff)
            return RunStreamed(*in_.output);
        // A size that can never be made is refused now, not after the countdown and the dial.
        if (StitchSizeRefusal(in_.columns, in_.rows, in_.availableMemory))
            return TooLarge();
        if (in_.settings.scheduleDialog) {
            choice_ = front_.RunScheduleDialog();
            if (!choice_) {
                front_.SetBatchActive(false);
                return JobEnding::ScheduleCancelled;
            }
        }
        BeginFetching(front_, choice_);

        const std::int64_t tileCount = std::int64_t{in_.columns} * in_.rows;
        front_.SetProgressMaximum(tileCount);
        // The memory can still be gone by now: the bitmap itself may be refused.
        std::optional<RgbPicture> picture = RgbPicture::Create(
            std::int64_t{in_.columns} * kTileSide, std::int64_t{in_.rows} * kTileSide);
        if (!picture)
            return TooLarge();

        // Planned over the letters alone: the source makes each one's request.
        const QString anchorLetters = in_.source.tiles->RequestFor(in_.view[0]).quadPath;
        const StitchPlan plan = PlanStitch(anchorLetters, in_.columns, in_.rows);
        std::int64_t position = 0;
        for (const StitchTile& tile : plan.tiles) {
            if (const std::optional<JobEnding> stop = NextTile(position++, tileCount))
                return Stopped(*stop);
            picture->DrawTile(LoadTile(in_.source.tiles->RequestOfLetters(tile.letters)), tile.x,
                              tile.y);
        }

        const bool hungUp = HangUpIfAsked(front_, choice_);
        front_.HideProgress();
        front_.RestoreAndRaise();
        const bool saved = Save(*picture, anchorLetters, plan.southEastLetters);
        picture.reset(); // the picture can be huge: gone before the view is loaded again
        front_.EnableWindow();
        front_.SetBatchActive(false);
        front_.ShowView(in_.view);
        if (savingCancelled_)
            return JobEnding::Cancelled;
        return saved && hungUp ? JobEnding::Done : JobEnding::Failed;
    }

private:
    // A cancel cuts the pause and the attempts short; the loop sees it at its next check.
    const QImage& LoadTile(const QString& url) {
        const TileRequest request = in_.source.tiles->RequestFor(url);
        TileLoaderContext context{in_.source.mode, in_.source.http, in_.counters, front_,
                                  &buffers_};
        const TileAttemptRules rules{
            .attempts = in_.settings.retry.attempts,
            .pauseSeconds = in_.settings.retry.pauseSeconds,
            .mayAttempt = [this](int attempt) { return attempt == 1 || !front_.CancelRequested(); },
            .shown = nullptr};
        QImage& image = tile_;
        const auto load = [&context](const TileRequest& tile, QImage& loaded) {
            return TileLoader(tile, loaded, context);
        };
        if (AttemptTile(request, image, rules, load, front_) != TileAttemptsEnd::Loaded)
            ++in_.counters.tilesMissing;
        return image;
    }

    // Nothing is written when the user declines; a failure is reported and leaves the
    // earlier files as they were. The saving uses the picture up.
    bool Save(RgbPicture& picture, const QString& anchorLetters, const QString& southEastLetters) {
        const std::optional<QString> path = front_.AskOutputFile();
        if (!path)
            return true;
        RemoveStaleTempFiles(QFileInfo(*path).absolutePath());
        StitchOutput output(*path, Spec(anchorLetters, southEastLetters));
        return output.SaveWhole(picture, FinishProgress()) || Reported(output);
    }

    // A GeoTIFF named before the first tile: one row of tiles in memory at a time. Its size
    // is bounded by the disk, which is checked before anything is fetched.
    JobEnding RunStreamed(const QString& path) {
        const QString anchorLetters = in_.source.tiles->RequestFor(in_.view[0]).quadPath;
        const StitchOutputSpec spec = Spec(anchorLetters, {});
        if (StreamedStitchRefusal(in_.columns, in_.rows, in_.availableMemory) ||
            !GeoTiffFitsOnDisk(path, spec.block, GeoTiffCompression::Jpeg))
            return TooLarge();
        if (in_.settings.scheduleDialog) {
            choice_ = front_.RunScheduleDialog();
            if (!choice_) {
                front_.SetBatchActive(false);
                return JobEnding::ScheduleCancelled;
            }
        }
        BeginFetching(front_, choice_);
        const std::int64_t tileCount = std::int64_t{in_.columns} * in_.rows;
        front_.SetProgressMaximum(tileCount);
        std::optional<RgbPicture> band = RgbPicture::Create(in_.columns * kTileSide, kTileSide);
        if (!band)
            return TooLarge();
        RemoveStaleTempFiles(QFileInfo(path).absolutePath());
        StitchOutput output(path, spec);
        bool written = output.Begin() || Reported(output);
        std::int64_t position = 0;
        for (std::int64_t row = 0; written && row < in_.rows; ++row) {
            for (std::int64_t column = 0; column < in_.columns; ++column) {
                if (const std::optional<JobEnding> stop = NextTile(position++, tileCount))
                    return Stopped(*stop);
                const TileKey key = CellInBlock(spec.block, column, row);
                band->DrawTile(LoadTile(in_.source.tiles->RequestOf(key)), column * kTileSide, 0);
            }
            written = output.AddTileRow(*band) || Reported(output);
        }
        const bool hungUp = HangUpIfAsked(front_, choice_);
        written = written && (output.Finish(FinishProgress()) || Reported(output));
        front_.HideProgress();
        front_.EnableWindow();
        front_.RestoreAndRaise();
        front_.SetBatchActive(false);
        front_.ShowView(in_.view);
        if (savingCancelled_)
            return JobEnding::Cancelled;
        return written && hungUp ? JobEnding::Done : JobEnding::Failed;
    }

    // The block the picture shows and what its files say about it.
    StitchOutputSpec Spec(const QString& anchorLetters, const QString& southEastLetters) const {
        const TileKey anchor =
            TileKey::FromLetters(anchorLetters.toStdString()).value_or(TileKey{});
        return {.block = {anchor.level, anchor.column, anchor.row, in_.columns, in_.rows},
                .quality = in_.quality,
                .calibrationTemplate = in_.calibrationTemplate,
                .anchorLetters = anchorLetters,
                .southEastLetters = southEastLetters};
    }

    // The checks before each tile; the ending when one of them stops the job.
    std::optional<JobEnding> NextTile(std::int64_t position, std::int64_t tileCount) {
        front_.SetStatus(FetchedStatusText(position, tileCount));
        front_.SetProgressPosition(position + 1);
        if (front_.CancelRequested())
            return JobEnding::Cancelled;
        front_.PumpEvents();
        if (ErrorLimitReached(in_.settings.retry, in_.counters))
            return JobEnding::ErrorLimit;
        return std::nullopt;
    }

    // Building a GeoTIFF's overviews takes a while: the window stays alive and "Отмена"
    // stops it.
    GeoTiffProgress FinishProgress() {
        return [this](double) {
            front_.PumpEvents();
            return !front_.CancelRequested();
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
        QString text =
            QCoreApplication::translate("StitchJob", "Запись файла %1 невозможна").arg(path);
        if (!reason.isEmpty())
            text += QStringLiteral(": ") + reason;
        front_.ShowMessage(ErrorsCaption(), text);
    }

    JobEnding Stopped(JobEnding ending) {
        HangUpIfAsked(front_, choice_);
        front_.HideProgress();
        front_.EnableWindow();
        front_.RestoreAndRaise();
        if (ending == JobEnding::ErrorLimit) {
            front_.ShowMessage(ErrorsCaption(), ErrorLimitMessage(in_.counters));
        }
        front_.SetBatchActive(false);
        return ending;
    }

    // Either switch asks for the hang-up here: the option to show the scheduling dialog (where
    // it stands for the hang-up), or the dialog's own hang-up box, whether or not the dialog
    // was shown this time.
    JobEnding TooLarge() {
        front_.HideProgress();
        front_.EnableWindow();
        if ((in_.settings.scheduleDialog && in_.settings.scheduleOptionHangsUp) ||
            front_.HangUpBoxChecked())
            HangUpAllConnections(front_.DialUp(), front_);
        front_.RestoreAndRaise();
        front_.ShowMessage(ErrorsCaption(),
                           QCoreApplication::translate(
                               "StitchJob", "Выполнить невозможно - слишком большое изображение?"));
        front_.SetBatchActive(false);
        return JobEnding::TooLarge;
    }

    const StitchInputs& in_;
    JobFrontEnd& front_;
    std::optional<ScheduleChoice> choice_;
    // Kept from tile to tile: the picture only copies each tile, so the decoder can decode
    // the next one into the same pixels.
    TileBuffers buffers_;
    QImage tile_;
    bool savingCancelled_ = false; // "Отмена" while a GeoTIFF was being finished
};

} // namespace

JobEnding RunStitch(const StitchInputs& inputs, JobFrontEnd& front) {
    return StitchRun(inputs, front).Run();
}
