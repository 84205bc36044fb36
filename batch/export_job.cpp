#include "batch/export_job.h"

#include "batch/error_count_texts.h"
#include "batch/job_steps.h"
#include "batch/prefill_job.h"
#include "batch/region_export.h"
#include "batch/region_walk.h"

#include <QFile>
#include <QUrl>

namespace {

class ExportRun {
public:
    ExportRun(const ExportInputs& inputs, JobFrontEnd& front, ExportFormat format,
              std::vector<TileBlock> blocks)
        : in_(inputs), front_(front), blocks_(std::move(blocks)),
          out_(inputs.output, format, blocks_, inputs.attribution, inputs.quality) {}

    JobEnding Run() {
        in_.counters.ResetErrors();
        front_.SetBatchActive(true);
        if (in_.settings.scheduleDialog) {
            choice_ = front_.RunScheduleDialog();
            if (!choice_) {
                front_.SetBatchActive(false);
                return JobEnding::ScheduleCancelled;
            }
        }
        BeginFetching(front_, choice_);
        const std::int64_t total = TileCountOf(blocks_);
        front_.SetProgressMaximum(total);
        if (!out_.Begin())
            return End(JobEnding::Failed, out_.ErrorText());
        RegionWalk walk(front_, *in_.source.tiles, in_.settings.retry, in_.counters, total);
        WalkStop stop = WalkStop::None;
        for (const TileBlock& square : blocks_) {
            stop = walk.Walk(
                square, [this](const std::array<TileKey, 4>& block) { return AddBlock(block); });
            // Between levels as between blocks.
            front_.PumpEvents();
            if (stop == WalkStop::None && front_.CancelRequested())
                stop = WalkStop::Cancel;
            if (stop != WalkStop::None)
                break;
        }
        switch (stop) {
        case WalkStop::Cancel:
            return End(JobEnding::Cancelled);
        case WalkStop::ErrorLimit:
            return End(JobEnding::ErrorLimit, ErrorLimitMessage(in_.counters));
        case WalkStop::Refused:
            return End(JobEnding::Failed, out_.ErrorText());
        case WalkStop::None:
            break;
        }
        if (walk.LastBlockCancelled())
            return End(JobEnding::Cancelled);
        in_.counters.tilesMissing = absent_;
        if (!out_.Finish())
            return End(JobEnding::Failed, out_.ErrorText());
        return End(JobEnding::Done);
    }

private:
    // The block's tiles as the cache holds them now that the block is loaded; a tile that
    // could not be had is left out of the file and counted.
    bool AddBlock(const std::array<TileKey, 4>& block) {
        for (const TileKey& key : block) {
            QFile file(in_.source.tiles->CachePathOf(key));
            const QByteArray jpeg = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            if (jpeg.isEmpty()) {
                ++absent_;
                continue;
            }
            if (!out_.AddTile(key, jpeg))
                return false;
        }
        return true;
    }

    JobEnding End(JobEnding ending, const QString& message = {}) {
        const bool hungUp = HangUpIfAsked(front_, choice_);
        front_.HideProgress();
        front_.EnableWindow();
        front_.SetBatchActive(false);
        front_.RestoreAndRaise();
        if (!message.isEmpty())
            front_.ShowMessage(ErrorsCaption(), message);
        front_.ShowView(in_.view);
        return ending == JobEnding::Done && !hungUp ? JobEnding::Failed : ending;
    }

    const ExportInputs& in_;
    JobFrontEnd& front_;
    std::vector<TileBlock> blocks_;
    RegionExport out_;
    std::optional<ScheduleChoice> choice_;
    std::int64_t absent_ = 0;
};

} // namespace

QString AttributionOf(const QString& requestPrefix) {
    const QString host = QUrl(requestPrefix).host();
    return host.isEmpty() ? requestPrefix : host;
}

JobEnding RunExport(const ExportInputs& inputs, JobFrontEnd& front) {
    const QString letters = inputs.source.tiles->RequestFor(inputs.view[0]).quadPath;
    if (const std::optional<QString> reason = PrefillRefusal(int(letters.size()), inputs.depth)) {
        front.ShowMessage(ErrorsCaption(), *reason);
        return JobEnding::Failed;
    }
    const std::optional<TileKey> anchor = TileKey::FromLetters(letters.toStdString());
    const std::optional<ExportFormat> format = ExportFormatOf(inputs.output);
    if (!anchor || !format)
        return JobEnding::Failed;
    std::vector<TileBlock> blocks = ExportBlocks(*format, *anchor, inputs.depth);
    if (const std::optional<QString> refusal = ExportRefusal(*format, blocks)) {
        front.ShowMessage(ErrorsCaption(), *refusal);
        return JobEnding::TooLarge;
    }
    return ExportRun(inputs, front, *format, std::move(blocks)).Run();
}
