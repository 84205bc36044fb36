// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a batch job ended; the command line turns it into its exit status.
enum class JobEnding {
    Done,              // every tile visited (a stitched picture may still have been declined)
    ScheduleCancelled, // the scheduling dialog was cancelled: nothing was fetched
    Cancelled,         // "Отмена" seen at a check
    ErrorLimit,        // an error counter reached its limit
    TooLarge,          // the stitched picture cannot be made
    Failed,            // refused before starting, or the result could not be written
    DailyLimit,        // the source's daily quota is used up; it may go on another day
};
