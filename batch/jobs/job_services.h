// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a batch job uses without asking anyone: where its tiles come from, the dial-up
// service, and how it waits and keeps the program responsive.
#include "batch/dialup/dial_up_service.h"
#include "loader/view_tiles.h"

#include <QCoreApplication>
#include <QThread>
#include <functional>

struct JobServices {
    ViewSource tiles; // the source, its HTTP client and the work mode; the job owns the buffers
    DialUpService& dialUp;
    std::function<void(int ms)> sleepMs = [](int ms) {
        QThread::msleep(static_cast<unsigned long>(ms));
    };
    // Runs pending events, so that "Отмена" and the window's repaints are seen.
    std::function<void()> pumpEvents = [] { QCoreApplication::processEvents(); };
};
