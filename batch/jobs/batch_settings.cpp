// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/jobs/batch_settings.h"

BatchRetry BatchRetryOf(const Settings& s) {
    return BatchRetry{.attempts = s.fetchAttempts,
                      .pauseSeconds = s.retryInterval,
                      .badFileLimit = s.badFileErrorLimit,
                      .writeLimit = s.writeErrorLimit,
                      .receiveLimit = s.receiveErrorLimit};
}
