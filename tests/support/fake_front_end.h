#pragma once
// A batch job's front end for tests: it answers as scripted and writes every call, in
// order, to `events`. Calls made while a view is being shown (by the tile loop and the
// loader) are written indented by two blanks, so JobEvents() gives the job's own calls.
// Given a view source it really loads each view, as the window does.
#include "batch/job_front_end.h"
#include "tests/support/fake_dial_up.h"

#include <QImage>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class FakeFrontEnd : public JobFrontEnd {
public:
    // References in events are written as their quadrant letters alone.
    explicit FakeFrontEnd(int prefixLength = 0);

    // --- Script ---
    std::optional<ScheduleChoice> scheduleResult = ScheduleChoice{}; // nothing: cancelled
    std::optional<QString> outputFile;                               // nothing: declined
    int cancelAtShowView = 0; // raises cancel as the N-th ShowView starts (1-based; 0 never)
    int cancelAtPump = 0;     // raises cancel during the N-th PumpEvents, nested ones counted
    std::function<void(int showView)> onShowView; // runs as each ShowView starts
    FakeDialUp dialUp; // a good dial connects; dials and hang-ups go to events
    bool hangUpBox = false; // the scheduling dialog's hang-up box

    // Makes ShowView load the tiles through the tile loader from source into counters: with
    // retry while the batch flag is set, and, when outsideBatch, with one attempt otherwise
    // (as the window refreshes its view). source.http must outlive this object.
    void LoadViewsFrom(const ViewSource& source, TileCounters& counters, BatchRetry retry,
                       bool outsideBatch = false);

    // --- Record ---
    QStringList events;
    QStringList JobEvents() const; // events without the indented ones
    std::vector<ViewUrls> shownViews;
    std::array<QImage, 4> tiles; // the last image shown in each slot
    bool batchActive = false;
    bool windowEnabled = true;
    bool progressVisible = false;
    bool cancel = false;
    std::int64_t progressMaximum = 100;
    std::int64_t progressPosition = 0;
    QString status;
    int pumps = 0;

    // --- JobFrontEnd ---
    void PumpEvents() override;
    void ShowErrorCounts() override { Log(QStringLiteral("ShowErrorCounts")); }
    bool CancelRequested() override { return cancel; }
    void SleepMs(int ms) override;
    void ShowTile(int slot, const QImage& image) override;
    void SetStatus(const QString& text) override;
    void ShowMessage(const QString& caption, const QString& text) override;
    std::optional<ScheduleChoice> RunScheduleDialog() override;
    DialUpService& DialUp() override { return dialUp; }
    bool HangUpBoxChecked() override { return hangUpBox; }
    void SetBatchActive(bool on) override;
    void DisableWindow() override;
    void EnableWindow() override;
    void RestoreAndRaise() override { Log(QStringLiteral("RestoreAndRaise")); }
    void FocusWindow() override { Log(QStringLiteral("FocusWindow")); }
    void ShowProgress() override;
    void HideProgress() override;
    void ClearCancel() override;
    void SetProgressMaximum(std::int64_t maximum) override;
    void SetProgressPosition(std::int64_t position) override;
    ViewLoadOutcome ShowView(const ViewUrls& urls) override;
    std::optional<QString> AskOutputFile() override;

private:
    struct Loading {
        ViewSource source;
        TileCounters& counters;
        BatchRetry retry;
        bool outsideBatch;
    };

    void Log(const QString& event);

    int prefixLength_;
    std::optional<Loading> loading_;
    bool inView_ = false;
};
