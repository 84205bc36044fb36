// SPDX-License-Identifier: GPL-3.0-or-later
// Test entry point: GoogleTest inside a QApplication, with no display needed.
#include "app/qt_translation.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The tests read the Russian texts: an English locale must not choose English for the
    // programs they start.
    qputenv("LC_ALL", "C.UTF-8");
    QApplication app(argc, argv);
    InstallQtRussian(app); // as the program does
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
