// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The scheduling dialog's wait before a job, in whole minutes, counted down once a minute.
#include <QString>

class Countdown {
public:
    // Starts a wait of hours and minutes; false when there is nothing to wait for.
    bool Start(int hours, int minutes);
    // One minute has passed; true when the wait is over.
    bool Tick();

    int Remaining() const { return remaining_; }
    // The progress bar runs from 0 to the whole wait.
    int Maximum() const { return maximum_; }
    int Position() const { return maximum_ - remaining_; }
    // "До начала закачки осталось: 1ч 30мин"
    QString Text() const;

private:
    int remaining_ = 0;
    int maximum_ = 0;
};
