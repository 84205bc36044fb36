#pragma once
// Running a batch job from the command line, headless, through the same job as the window.
#include "app/cancel_signals.h"
#include "app/command_line.h"
#include "batch/job_ending.h"

#include <cstdio>

// The exit status of each ending: 0 done, 1 failure, 2 error limit, 3 too large, 4 cancelled.
int ExitStatusOf(JobEnding ending);

// Runs the command with the settings of its home directory (never written back) and returns
// the exit status; every failure has said why on `stream` by then.
int RunBatchCommand(const BatchCommand& command, CancelSignals& cancel, std::FILE* stream = stderr);
