#pragma once
// The command line's batch commands, run without a display.

// argv[1] is "stitch" or "prefill". Returns the exit status.
int RunHeadless(int argc, char** argv);
