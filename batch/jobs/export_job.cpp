// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/jobs/export_job.h"

#include "batch/jobs/job_run.h"
#include "batch/jobs/prefill_job.h"
#include "batch/jobs/region_walk.h"
#include "batch/outputs/region_export.h"

#include <QUrl>

#include <map>

namespace {

class ExportRun {
public:
    ExportRun(const ExportInputs& inputs, JobRun& run, const TileKey& anchor, ExportFormat format,
              std::vector<TileBlock> blocks)
        : in_(inputs), run_(run), anchor_(anchor), blocks_(std::move(blocks)),
          out_(inputs.output, format, blocks_, inputs.attribution, inputs.quality,
               inputs.encoding) {
        run_.CopyTiles([this](const TileRequest& tile, const QByteArray& bytes) {
            received_[tile.quadPath] = bytes;
        });
    }

    JobEnding Run() {
        in_.counters.ResetErrors();
        if (!run_.Schedule(in_.settings))
            return run_.End(JobEnding::ScheduleCancelled);
        run_.SetTotal(TileCountOf(blocks_));
        run_.Begin();
        bool written = out_.Begin();
        WalkEnd walked = WalkEnd::Finished;
        for (std::size_t i = 0; written && walked == WalkEnd::Finished && i < blocks_.size(); ++i) {
            if (i > 0) { // between levels as between blocks
                run_.Pump();
                if (run_.Cancelled())
                    walked = WalkEnd::Cancelled;
            }
            if (walked == WalkEnd::Finished)
                walked =
                    WalkRegion(RegionBlockWalk(anchor_, blocks_[i].level - anchor_.level), run_,
                               in_.settings.retry, in_.counters, [&](const TileKey& northWest) {
                                   return LoadBlock(northWest, written);
                               });
        }
        const bool hungUp = run_.HangUpAsScheduled();
        if (const std::optional<JobEnding> stopped = EndStoppedWalk(walked, run_, in_.counters))
            return *stopped;
        in_.counters.tilesMissing = absent_;
        if (!written || !out_.Finish())
            return run_.End(JobEnding::Failed, out_.ErrorText());
        return run_.End(hungUp ? JobEnding::Done : JobEnding::Failed);
    }

private:
    // Loads the block as the prefill does, then hands its tiles to the file with the bytes
    // the loader read or received; a tile that could not be had is left out and counted.
    // Once the file has failed, the rest of the walk fetches nothing.
    ViewLoadOutcome LoadBlock(const TileKey& northWest, bool& written) {
        if (!written)
            return ViewLoadOutcome::Completed;
        const std::array<TileKey, 4> block = northWest.Block();
        received_.clear();
        const ViewLoadOutcome outcome = run_.LoadBlock(block, in_.settings.retry);
        const TileSource& source = run_.Source();
        for (const TileKey& key : block) {
            const auto jpeg = received_.find(source.Request(key).quadPath);
            if (jpeg == received_.end() || jpeg->second.isEmpty())
                ++absent_;
            else
                written = written && out_.AddTile(key, jpeg->second);
        }
        return outcome;
    }

    const ExportInputs& in_;
    JobRun& run_;
    TileKey anchor_;
    std::vector<TileBlock> blocks_;
    RegionExport out_;
    std::int64_t absent_ = 0;
    std::map<QString, QByteArray> received_; // the block's tiles by their letters
};

} // namespace

QString AttributionOf(const SourceDefinition& source, const QString& requestPrefix) {
    if (source.kind == SourceKind::Template && !source.attribution.isEmpty())
        return source.attribution;
    const QString address =
        source.kind == SourceKind::Template ? source.urlTemplate : requestPrefix;
    const QString host = QUrl(address).host();
    const QString where = host.isEmpty() ? address : host;
    // The title names the imagery, the host who serves it: a bare address credits no one.
    if (source.title.isEmpty() || where.isEmpty())
        return source.title.isEmpty() ? where : source.title;
    return QStringLiteral("%1 (%2)").arg(source.title, where);
}

TileEncoding TileEncodingOf(const SourceDefinition& source) {
    return source.format == TileFormat::Png ? TileEncoding::Png : TileEncoding::Jpeg;
}

JobEnding RunExport(const ExportInputs& inputs, const JobServices& services, JobControls& controls,
                    JobObserver& observer) {
    JobRun run(services, controls, observer, inputs.counters);
    const QString letters = services.tiles.tiles->Request(inputs.view[0]).quadPath;
    if (const std::optional<QString> reason = PrefillRefusal(int(letters.size()), inputs.depth))
        return run.End(JobEnding::Failed, *reason);
    const std::optional<TileKey> anchor = TileKey::FromLetters(letters.toStdString());
    const std::optional<ExportFormat> format = ExportFormatOf(inputs.output);
    if (!anchor || !format)
        return run.End(JobEnding::Failed);
    std::vector<TileBlock> blocks = ExportBlocks(*format, *anchor, inputs.depth);
    // Refused before the scheduling, the dial and any tile.
    if (const std::optional<QString> refusal = ExportRefusal(*format, blocks)) {
        run.HangUpBeforeScheduling(inputs.settings);
        return run.End(JobEnding::TooLarge, *refusal);
    }
    return ExportRun(inputs, run, *anchor, *format, std::move(blocks)).Run();
}
