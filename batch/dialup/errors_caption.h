// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The caption of the boxes failures are shown in: the dial-up's, and the jobs' after it.
#include <QCoreApplication>
#include <QString>

inline QString ErrorsCaption() {
    return QCoreApplication::translate("ErrorCounts", "ошибки");
}
