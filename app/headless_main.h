// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line's batch commands, run without a display.

#include <QStringList>

// arguments (without the program name) begin with "stitch", "prefill" or "export". Ends the
// process with the exit status once a job has run (or was refused); returns it for --help,
// --version and what is refused before any job.
int RunHeadless(QStringList arguments);
