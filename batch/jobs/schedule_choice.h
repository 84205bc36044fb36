// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the scheduling dialog hands a batch job when its countdown has run out.
#include <QString>

struct ScheduleChoice {
    bool dial = false; // "Подключаться автоматически"
    QString entry;     // the connection box's text
    QString user;
    QString password; // kept in memory for the run only
    bool hangUp = false; // "разорвать все оединения после окончания"
};
