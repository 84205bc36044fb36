// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/fake_front_end.h"

#include <QThread>

FakeFrontEnd::FakeFrontEnd() {
    dialUp.goodDialConnects = true;
    dialUp.log = &events;
}

JobServices FakeFrontEnd::Services(const ViewSource& tiles) {
    return JobServices{.tiles = tiles,
                       .dialUp = dialUp,
                       .sleepMs =
                           [this](int ms) {
                               sleeps.push_back(ms);
                               QThread::msleep(static_cast<unsigned long>(ms));
                           },
                       .pumpEvents =
                           [this] {
                               if (++pumps == cancelAtPump)
                                   cancel = true;
                           }};
}

void FakeFrontEnd::OnProgress(const JobProgress& p) {
    if (statuses.isEmpty() || statuses.last() != p.status)
        statuses.append(p.status);
    progress.push_back(p);
}

void FakeFrontEnd::OnTile(int, const TilePixels&) {
    if (onTile)
        onTile(++tilesShown);
    else
        ++tilesShown;
}

void FakeFrontEnd::OnMessage(const QString& caption, const QString& text) {
    events.append(QStringLiteral("Message ") + caption + QStringLiteral(": ") + text);
}

void FakeFrontEnd::OnEnded(JobEnding end, const QString& message) {
    events.append(QStringLiteral("Ended %1 %2").arg(static_cast<int>(end)).arg(message));
    ending = end;
    endMessage = message;
}

std::optional<ScheduleChoice> FakeFrontEnd::AskSchedule() {
    events.append(QStringLiteral("AskSchedule"));
    return scheduleResult;
}

std::optional<QString> FakeFrontEnd::AskOutputFile() {
    return outputFile;
}
