// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a batch job asks of the person who started it, and nothing else.
#include "batch/jobs/schedule_choice.h"

#include <QString>
#include <optional>

class JobControls {
public:
    virtual ~JobControls() = default;
    // "Отмена": asked at every check; true ends the job.
    virtual bool CancelRequested() = 0;
    // The scheduling choice once its countdown ran out, or nothing when it was cancelled.
    virtual std::optional<ScheduleChoice> AskSchedule() = 0;
    // Whether the connections are to be hung up at the end, also when the scheduling was not
    // asked this time.
    virtual bool HangUpWanted() = 0;
    // Where the stitched picture goes, or nothing when the person declined.
    virtual std::optional<QString> AskOutputFile() = 0;
};
