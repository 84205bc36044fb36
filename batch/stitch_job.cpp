#include "batch/stitch_job.h"

#include "batch/calibration_file.h"
#include "batch/error_count_texts.h"
#include "batch/job_run.h"
#include "batch/jpeg_encode.h"
#include "batch/progress_text.h"
#include "batch/rgb_picture.h"
#include "batch/stitch_plan.h"
#include "batch/stitch_size.h"
#include "fetch/tile_cache.h"
#include "files/atomic_file.h"
#include "tiles/tile_side.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <optional>

namespace {

// Everything one run keeps while it goes from ending to ending.
class StitchRun {
public:
    StitchRun(const StitchInputs& inputs, JobRun& run) : in_(inputs), run_(run) {}

    JobEnding Run() {
        in_.counters.ResetErrors();
        // A size that can never be made is refused now, not after the countdown and the dial.
        if (StitchSizeRefusal(in_.columns, in_.rows, in_.availableMemory))
            return TooLarge();
        if (!run_.Schedule(in_.settings))
            return run_.End(JobEnding::ScheduleCancelled);
        const std::int64_t tileCount = std::int64_t{in_.columns} * in_.rows;
        run_.SetTotal(tileCount);
        run_.Begin();

        // The memory can still be gone by now: the bitmap itself may be refused.
        std::optional<RgbPicture> picture = RgbPicture::Create(
            std::int64_t{in_.columns} * kTileSide, std::int64_t{in_.rows} * kTileSide);
        if (!picture)
            return TooLarge();

        // Planned over the letters alone: the source makes each one's request.
        const TileSource& source = *run_.services().tiles.tiles;
        const QString anchorLetters = source.RequestFor(in_.view[0]).quadPath;
        const StitchPlan plan = PlanStitch(anchorLetters, in_.columns, in_.rows);
        run_.ReadAhead(StitchTiles(run_.services().tiles.tiles, plan));
        std::int64_t position = 0;
        for (const StitchTile& tile : plan.tiles) {
            run_.Progress(position + 1, FetchedStatusText(position, tileCount));
            ++position;
            if (run_.Cancelled())
                return Stopped(JobEnding::Cancelled);
            run_.Pump();
            if (ErrorLimitReached(in_.settings.retry, in_.counters))
                return Stopped(JobEnding::ErrorLimit);
            const TileRequest request = source.RequestFor(source.RequestOfLetters(tile.letters));
            picture->DrawTile(run_.LoadTile(request, in_.settings.retry), tile.x, tile.y);
        }

        const bool hungUp = run_.HangUpIfAsked();
        const bool saved = Save(*picture, anchorLetters, plan.southEastLetters);
        picture.reset(); // the picture can be huge: gone before the view is loaded again
        return run_.End(saved && hungUp ? JobEnding::Done : JobEnding::Failed);
    }

private:
    // Encodes the picture straight into a temporary file beside the chosen one and writes
    // the calibration file the same way; only when both are complete do they replace the
    // files of their names. Nothing is written when the user declines; a failure is reported
    // and leaves the earlier pair as it was. The encoding uses the picture up.
    bool Save(RgbPicture& picture, const QString& anchorLetters, const QString& southEastLetters) {
        const std::optional<QString> path = run_.AskOutputFile();
        if (!path)
            return true;
        RemoveStaleTempFiles(QFileInfo(*path).absolutePath());
        constexpr auto kDurability = AtomicFile::Durability::Synced;
        AtomicFile file(*path);
        const bool encoded =
            file.Open() &&
            EncodeProgressiveJpegReleasing(picture, in_.quality,
                                           [&file](const char* data, std::size_t size) {
                                               return file.Write(data, static_cast<qint64>(size));
                                           }) &&
            file.Complete(kDurability);
        if (!encoded) {
            ReportCannotWrite(*path, file.ErrorText());
            return false;
        }
        const CalibrationInput calibration{.columns = in_.columns,
                                           .rows = in_.rows,
                                           .picturePath = *path,
                                           .anchorPath = anchorLetters,
                                           .southEastPath = southEastLetters};
        AtomicFile map(CalibrationFilePath(*path));
        if (!map.Open() || !map.Write(CalibrationFileBytes(in_.calibrationTemplate, calibration)) ||
            !map.Complete(kDurability)) {
            ReportCannotWrite(CalibrationFilePath(*path), map.ErrorText());
            return false;
        }
        if (!file.Commit(kDurability)) {
            ReportCannotWrite(*path, file.ErrorText());
            return false;
        }
        if (!map.Commit(kDurability)) {
            ReportCannotWrite(CalibrationFilePath(*path), map.ErrorText());
            return false;
        }
        return true;
    }

    // The picture is only worth its map: a map without its picture, or the other way
    // round, is reported, and what was there before under either name stays.
    void ReportCannotWrite(const QString& path, const QString& reason) {
        QString text =
            QCoreApplication::translate("StitchJob", "Запись файла %1 невозможна").arg(path);
        if (!reason.isEmpty())
            text += QStringLiteral(": ") + reason;
        run_.Message(ErrorsCaption(), text);
    }

    JobEnding Stopped(JobEnding ending) {
        run_.HangUpIfAsked();
        return run_.End(ending, ending == JobEnding::ErrorLimit ? ErrorLimitMessage(in_.counters)
                                                                : QString());
    }

    JobEnding TooLarge() {
        run_.HangUpIfWanted(in_.settings);
        return run_.End(JobEnding::TooLarge,
                        QCoreApplication::translate(
                            "StitchJob", "Выполнить невозможно - слишком большое изображение?"));
    }

    const StitchInputs& in_;
    JobRun& run_;
};

} // namespace

JobEnding RunStitch(const StitchInputs& inputs, const JobServices& services, JobControls& controls,
                    JobObserver& observer) {
    JobRun run(services, controls, observer, inputs.counters);
    return StitchRun(inputs, run).Run();
}
