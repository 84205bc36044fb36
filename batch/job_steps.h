#pragma once
// The steps every batch job takes the same way, between the scheduling dialog and its end.
#include "batch/job_front_end.h"

#include <optional>

// The main window disabled, the progress dialog shown at "начало..." with cancel cleared and
// drawn once, then the connection dialled when the scheduling dialog asked for it.
void BeginFetching(JobFrontEnd& front, const std::optional<ScheduleChoice>& choice);

// Every dial-up connection hung up when the scheduling dialog asked for it. False when a
// connection would not go down (the front end has been told); true otherwise.
bool HangUpIfAsked(JobFrontEnd& front, const std::optional<ScheduleChoice>& choice);
