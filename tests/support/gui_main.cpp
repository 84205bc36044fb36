// SPDX-License-Identifier: GPL-3.0-or-later
// Test entry point: GoogleTest inside a QGuiApplication, with no display needed.
#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The tests read the Russian texts: an English locale must not choose English for the
    // programs they start.
    qputenv("LC_ALL", "C.UTF-8");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
