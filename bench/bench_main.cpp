// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmark entry point: a widget application with no display, since one benchmark drives
// the main window.
#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
