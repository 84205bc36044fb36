#include "tests/support/fake_front_end.h"

#include "tiles/tile_ref.h"

#include <QThread>

FakeFrontEnd::FakeFrontEnd(int prefixLength) : prefixLength_(prefixLength) {
    dialUp.goodDialConnects = true;
    dialUp.log = &events;
}

void FakeFrontEnd::LoadViewsFrom(const ViewSource& source, TileCounters& counters, BatchRetry retry,
                                 bool outsideBatch) {
    loading_.emplace(Loading{source, counters, retry, outsideBatch});
}

QStringList FakeFrontEnd::JobEvents() const {
    QStringList own;
    for (const QString& event : events)
        if (!event.startsWith(' '))
            own.append(event);
    return own;
}

void FakeFrontEnd::Log(const QString& event) {
    events.append(inView_ ? QStringLiteral("  ") + event : event);
}

void FakeFrontEnd::PumpEvents() {
    Log(QStringLiteral("PumpEvents"));
    if (++pumps == cancelAtPump)
        cancel = true;
}

void FakeFrontEnd::SleepMs(int ms) {
    Log(QStringLiteral("SleepMs %1").arg(ms));
    QThread::msleep(static_cast<unsigned long>(ms));
}

void FakeFrontEnd::ShowTile(int slot, const QImage& image) {
    Log(QStringLiteral("ShowTile %1").arg(slot));
    tiles.at(static_cast<std::size_t>(slot)) = image;
}

void FakeFrontEnd::SetStatus(const QString& text) {
    Log(QStringLiteral("SetStatus ") + text);
    status = text;
}

void FakeFrontEnd::ShowMessage(const QString& caption, const QString& text) {
    Log(QStringLiteral("ShowMessage ") + caption + QStringLiteral(": ") + text);
}

std::optional<ScheduleChoice> FakeFrontEnd::RunScheduleDialog() {
    Log(scheduleResult ? QStringLiteral("RunScheduleDialog ok")
                       : QStringLiteral("RunScheduleDialog cancelled"));
    return scheduleResult;
}

void FakeFrontEnd::SetBatchActive(bool on) {
    Log(QStringLiteral("SetBatchActive %1").arg(on));
    batchActive = on;
}

void FakeFrontEnd::DisableWindow() {
    Log(QStringLiteral("DisableWindow"));
    windowEnabled = false;
}

void FakeFrontEnd::EnableWindow() {
    Log(QStringLiteral("EnableWindow"));
    windowEnabled = true;
}

void FakeFrontEnd::ShowProgress() {
    Log(QStringLiteral("ShowProgress"));
    progressVisible = true;
}

void FakeFrontEnd::HideProgress() {
    Log(QStringLiteral("HideProgress"));
    progressVisible = false;
}

void FakeFrontEnd::ClearCancel() {
    Log(QStringLiteral("ClearCancel"));
    cancel = false;
}

void FakeFrontEnd::SetProgressMaximum(std::int64_t maximum) {
    Log(QStringLiteral("SetProgressMaximum %1").arg(maximum));
    progressMaximum = maximum;
}

void FakeFrontEnd::SetProgressPosition(std::int64_t position) {
    Log(QStringLiteral("SetProgressPosition %1").arg(position));
    progressPosition = position;
}

ViewLoadOutcome FakeFrontEnd::ShowView(const ViewUrls& urls) {
    QStringList paths;
    for (const QString& url : urls)
        paths.append(QuadPathOf(url, prefixLength_));
    Log(QStringLiteral("ShowView ") + paths.join(' '));
    shownViews.push_back(urls);
    const int index = static_cast<int>(shownViews.size());
    if (index == cancelAtShowView)
        cancel = true;
    if (onShowView)
        onShowView(index);
    if (!loading_ || (!batchActive && !loading_->outsideBatch))
        return ViewLoadOutcome::Completed;
    std::optional<BatchRetry> batch;
    if (batchActive)
        batch = loading_->retry;
    inView_ = true;
    const ViewLoadOutcome outcome =
        LoadView(urls, loading_->source, batch, loading_->counters, *this);
    inView_ = false;
    return outcome;
}

std::optional<QString> FakeFrontEnd::AskOutputFile() {
    Log(QStringLiteral("AskOutputFile"));
    return outputFile;
}
