#pragma once
// The command line's batch commands, run without a display.

// argv[1] is "stitch" or "prefill". Ends the process with the exit status once a job has
// run (or was refused); returns it only for --help and --version.
int RunHeadless(int argc, char** argv);
