// SPDX-License-Identifier: GPL-3.0-or-later
// The two batch jobs as the window starts them: thin handlers over the jobs of batch/.
#include "app/tform1.h"

#include "app/dialog_in_front.h"
#include "app/job_dialogs.h"
#include "app/tform2.h"
#include "app/tform3.h"
#include "app/window_front_end.h"
#include "batch/jobs/available_memory.h"
#include "batch/jobs/bulk_download_check.h"
#include "batch/jobs/export_job.h"
#include "batch/jobs/prefill_job.h"
#include "batch/jobs/region_export_job.h"
#include "batch/jobs/region_prefill_job.h"
#include "batch/jobs/stitch_job.h"
#include "batch/jobs/stitch_plan.h"
#include "batch/jobs/stitch_size.h"
#include "batch/outputs/calibration_file.h"
#include "batch/outputs/export_format.h"
#include "batch/outputs/stitch_output.h"
#include "os/atomic_file.h"
#include "os/temp_files.h"
#include "tiles/decimal_text.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

BatchSettings TForm1::CurrentBatchSettings() const {
    return BatchSettings{.retry = CurrentBatchRetry(), .scheduleDialog = CheckBox1->isChecked()};
}

void TForm1::Edit1Change() {
    const StitchEstimate estimate = EstimateStitch(Edit1->text(), Edit2->text());
    Label3->setText(estimate.memoryText);
    Label4->setText(estimate.downloadText);
    Button5->setEnabled(estimate.canStart);
}

bool TForm1::SourceAllowsJob(int level) {
    const std::optional<QString> refusal = BulkDownloadRefusal(CurrentSource(), level);
    if (refusal)
        QMessageBox::warning(this, tr("ошибки"), *refusal);
    return !refusal;
}

JobServices TForm1::CurrentJobServices() {
    // The same rule as the command line's jobs, with the settings tab's days.
    ViewSource tiles = CurrentViewSource();
    tiles.refresh = CurrentRefresh().ForJobs();
    return JobServices{.tiles = std::move(tiles), .dialUp = *dialUp_};
}

bool TForm1::JobWindowsReady() const {
    return dialogs_ && dialUp_;
}

void TForm1::RunFromWindow(const std::function<void(WindowFrontEnd&)>& job) {
    WindowFrontEnd front(*this, *dialogs_, ProgressDialog());
    RemoveStaleTempFiles(cacheRoot);
    job(front);
    if (refresh_)
        refresh_->Commit(); // what the server said, seen by a command run next
}

void TForm1::Button5Click() {
    if (!JobWindowsReady() || !SourceAllowsJob(ViewLevel()))
        return;
    const StitchInputs inputs{
        .view = viewUrls,
        .counters = counters,
        .settings = CurrentBatchSettings(),
        .columns = StitchSideFromText(Edit1->text()),
        .rows = StitchSideFromText(Edit2->text()),
        .quality = UpDown3->value(),
        .calibrationTemplate = Memo1->toPlainText().split('\n'),
        .availableMemory = AvailableMemory(),
        .output = std::nullopt, // asked for at the end
    };
    RunFromWindow(
        [&](WindowFrontEnd& front) { RunStitch(inputs, CurrentJobServices(), front, front); });
}

void TForm1::Button6Click() {
    QString why;
    const std::optional<RegionLevels> region = ChosenRegion(&why);
    if (!JobWindowsReady() || (!region && !SourceAllowsJob(ParseIntOr(Edit3->text(), 0))))
        return;
    if (region) {
        const RegionPrefillInputs inputs{.region = *region,
                                         .cacheRoot = cacheRoot,
                                         .settings = CurrentBatchSettings(),
                                         .counters = counters};
        RunFromWindow([&](WindowFrontEnd& front) {
            RunRegionPrefill(inputs, CurrentJobServices(), front, front);
        });
        return;
    }
    const PrefillInputs inputs{
        .view = viewUrls,
        .depth = ParseIntOr(Edit3->text(), 0),
        .settings = CurrentBatchSettings(),
        .counters = counters,
    };
    RunFromWindow(
        [&](WindowFrontEnd& front) { RunPrefill(inputs, CurrentJobServices(), front, front); });
}

namespace {

// "GeoTIFF (*.tif)" gives "tif".
QString SuffixOfFilter(const QString& filter) {
    const qsizetype dot = filter.lastIndexOf(QLatin1String("*."));
    return dot < 0 ? QString() : filter.mid(dot + 2).chopped(1);
}

// A save dialog whose first filter is the default; a name typed without an extension gets
// the one of the filter shown.
QFileDialog* MakeSaveDialog(QWidget* parent, const QStringList& filters) {
    auto* dialog = new QFileDialog(parent);
    dialog->setNameFilters(filters);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(SuffixOfFilter(filters.constFirst()));
    QObject::connect(dialog, &QFileDialog::filterSelected, dialog, [dialog](const QString& filter) {
        dialog->setDefaultSuffix(SuffixOfFilter(filter));
    });
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    // The same dialog on every desktop: it speaks the program's Russian and obeys its order.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    // Names only: the detail columns' file types and dates come from the system in English.
    dialog->setViewMode(QFileDialog::List);
    return dialog;
}

// Shows the filter of the name offered again, so that its extension stays the default.
void SelectFilterOf(QFileDialog& dialog, const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const QString& filter : dialog.nameFilters())
        if (!suffix.isEmpty() && suffix == SuffixOfFilter(filter)) {
            dialog.selectNameFilter(filter);
            dialog.setDefaultSuffix(suffix);
        }
    dialog.selectFile(path);
}

} // namespace

// The file is asked for first: the export writes it as the tiles come in.
void TForm1::Button7Click() {
    QString why;
    const std::optional<RegionLevels> region = ChosenRegion(&why);
    if (!JobWindowsReady() || (!region && (!SourceAllowsJob(ViewLevel()) ||
                                           !SourceAllowsJob(ParseIntOr(Edit3->text(), 0)))))
        return;
    const std::optional<QString> path = AskExportFile();
    if (!path)
        return;
    RemoveStaleTempFiles(QFileInfo(*path).absolutePath());
    if (region) {
        const RegionExportInputs inputs{
            .region = *region,
            .output = *path,
            .attribution = AttributionOf(CurrentSource(), CurrentViewRefs().Prefix()),
            .quality = UpDown3->value(),
            .encoding = TileEncodingOf(CurrentSource()),
            .settings = CurrentBatchSettings(),
            .counters = counters,
        };
        RunFromWindow([&](WindowFrontEnd& front) {
            RunRegionExport(inputs, CurrentJobServices(), front, front);
        });
        return;
    }
    const ExportInputs inputs{
        .view = viewUrls,
        .depth = ParseIntOr(Edit3->text(), 0),
        .output = *path,
        .attribution = AttributionOf(CurrentSource(), CurrentViewRefs().Prefix()),
        .quality = UpDown3->value(),
        .encoding = TileEncodingOf(CurrentSource()),
        .settings = CurrentBatchSettings(),
        .counters = counters,
    };
    RunFromWindow(
        [&](WindowFrontEnd& front) { RunExport(inputs, CurrentJobServices(), front, front); });
}

QFileDialog& TForm1::StitchFileDialog() {
    if (SDialog == nullptr)
        SDialog = MakeSaveDialog(
            this, {QStringLiteral("JPEG Image File (*.jpg)"), QStringLiteral("GeoTIFF (*.tif)")});
    return *SDialog;
}

QFileDialog& TForm1::ExportFileDialog() {
    if (EDialog == nullptr)
        EDialog = MakeSaveDialog(this, ExportFormatFilters());
    return *EDialog;
}

std::optional<QString> TForm1::AskExportFile() {
    SelectFilterOf(ExportFileDialog(), lastExportFile_);
    if (ExecInFront(*EDialog) != QDialog::Accepted || EDialog->selectedFiles().isEmpty())
        return std::nullopt;
    lastExportFile_ = EDialog->selectedFiles().constFirst();
    return lastExportFile_;
}

std::optional<QString> TForm1::AskStitchFile() {
    SelectFilterOf(StitchFileDialog(), lastStitchFile_);
    for (;;) {
        if (ExecInFront(*SDialog) != QDialog::Accepted || SDialog->selectedFiles().isEmpty())
            return std::nullopt;
        const QString path = SDialog->selectedFiles().constFirst();
        // A name the map file cannot hold is refused here, while another can still be chosen.
        // A GeoTIFF has no map file beside it.
        const std::optional<QString> refusal = StitchFormatOf(path) == StitchFormat::GeoTiff
                                                   ? std::nullopt
                                                   : CalibrationPathRefusal(path);
        if (!refusal) {
            lastStitchFile_ = path;
            return lastStitchFile_;
        }
        QMessageBox box(QMessageBox::Warning, tr("Сохранение невозможно"), *refusal,
                        QMessageBox::Ok, SDialog);
        ExecInFront(box);
    }
}
