// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dialling and hanging up as the batch jobs and the scheduling dialog do it, over any
// dial-up service.
#include "batch/dialup/dial_up_service.h"

#include <QString>
#include <chrono>

// Where dialling reports: the progress dialog's status line and a message box.
class DialReporter {
public:
    virtual ~DialReporter() = default;
    virtual void SetStatus(const QString& text) = 0;
    virtual void ShowMessage(const QString& caption, const QString& text) = 0;
};

// Dials an entry. A failure shows the service's own text for it in a box titled "ошибки"
// and hangs up a connection the service had allocated; the caller goes on in every case.
void DialConnection(DialUpService& service, DialReporter& reporter, const QString& entry,
                    const QString& user, const QString& password);

// How long HangUpAllConnections keeps at a connection that will not go down.
struct HangUpBound {
    int passes = 50;
    std::chrono::milliseconds pause{100};
};

// Hangs up the last listed connection and lists again until none is left, pausing between
// passes, for at most bound.passes passes: a connection that never goes down is given up,
// said in a box titled "ошибки", and false is returned.
bool HangUpAllConnections(DialUpService& service, DialReporter& reporter,
                          const HangUpBound& bound = {});
