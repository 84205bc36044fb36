// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Running a batch job from the command line, headless, through the same job as the window.
#include "app/command_line.h"
#include "batch/jobs/job_ending.h"
#include "os/stop_signals.h"

#include <cstdio>
#include <functional>

// The exit status of each ending: 0 done, 1 failure, 2 error limit, 3 too large, 4 cancelled.
// A job done with tiles it could not obtain exits with kTilesMissingStatus instead of 0.
int ExitStatusOf(JobEnding ending);
inline constexpr int kTilesMissingStatus = 5;

// Readies what drawn text takes (a GUI application) before a job that may draw a stand-in's
// text; a stitch whose every tile is in the cache does without it.
using PrepareDrawnText = std::function<void()>;

// Runs the command with the settings of its home directory (never written back) and returns
// the exit status; every failure has said why on `stream` by then.
int RunBatchCommand(
    const BatchCommand& command, StopSignals& cancel, std::FILE* stream = stderr,
    const PrepareDrawnText& prepareText = [] {});
