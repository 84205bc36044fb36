// The two batch jobs as the window starts them: thin handlers over the jobs of batch/.
#include "app/tform1.h"

#include "app/dialog_in_front.h"
#include "app/tform2.h"
#include "app/tform3.h"
#include "app/window_front_end.h"
#include "batch/available_memory.h"
#include "batch/bulk_download_check.h"
#include "batch/calibration_file.h"
#include "batch/prefill_job.h"
#include "batch/stitch_job.h"
#include "batch/stitch_plan.h"
#include "batch/stitch_size.h"
#include "files/atomic_file.h"
#include "tiles/decimal_text.h"

#include <QFileDialog>
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
    return JobServices{.tiles = CurrentViewSource(), .dialUp = *dialUp_};
}

void TForm1::Button5Click() {
    if (!form2_ || !form3_ || !dialUp_ || !dialReporter_ || !SourceAllowsJob(ViewLevel()))
        return;
    WindowFrontEnd front(*this, *form2_, *form3_, *dialReporter_);
    const StitchInputs inputs{
        .view = viewUrls,
        .counters = counters,
        .settings = CurrentBatchSettings(),
        .columns = StitchSideFromText(Edit1->text()),
        .rows = StitchSideFromText(Edit2->text()),
        .quality = UpDown3->value(),
        .calibrationTemplate = Memo1->toPlainText().split('\n'),
        .availableMemory = AvailableMemory(),
    };
    RemoveStaleTempFiles(cacheRoot);
    RunStitch(inputs, CurrentJobServices(), front, front);
}

void TForm1::Button6Click() {
    if (!form2_ || !form3_ || !dialUp_ || !dialReporter_ ||
        !SourceAllowsJob(ParseIntOr(Edit3->text(), 0)))
        return;
    WindowFrontEnd front(*this, *form2_, *form3_, *dialReporter_);
    const PrefillInputs inputs{
        .view = viewUrls,
        .depth = ParseIntOr(Edit3->text(), 0),
        .settings = CurrentBatchSettings(),
        .counters = counters,
    };
    RemoveStaleTempFiles(cacheRoot);
    RunPrefill(inputs, CurrentJobServices(), front, front);
}

QFileDialog& TForm1::StitchFileDialog() {
    if (SDialog == nullptr) {
        SDialog =
            new QFileDialog(this, QString(), QString(), QStringLiteral("JPEG Image File (*.jpg)"));
        SDialog->setAcceptMode(QFileDialog::AcceptSave);
        SDialog->setDefaultSuffix(QStringLiteral("jpg"));
        SDialog->setOption(QFileDialog::DontConfirmOverwrite);
        // The same dialog on every desktop: it speaks the program's Russian and obeys its order.
        SDialog->setOption(QFileDialog::DontUseNativeDialog);
        // Names only: the detail columns' file types and dates come from the system in English.
        SDialog->setViewMode(QFileDialog::List);
    }
    return *SDialog;
}

std::optional<QString> TForm1::AskStitchFile() {
    StitchFileDialog().selectFile(lastStitchFile_);
    for (;;) {
        if (ExecInFront(*SDialog) != QDialog::Accepted || SDialog->selectedFiles().isEmpty())
            return std::nullopt;
        const QString path = SDialog->selectedFiles().constFirst();
        // A name the map file cannot hold is refused here, while another can still be chosen.
        const std::optional<QString> refusal = CalibrationPathRefusal(path);
        if (!refusal) {
            lastStitchFile_ = path;
            return lastStitchFile_;
        }
        QMessageBox box(QMessageBox::Warning, tr("Сохранение невозможно"), *refusal,
                        QMessageBox::Ok, SDialog);
        ExecInFront(box);
    }
}
