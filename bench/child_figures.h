// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Running a part of a benchmark in a forked child of its own, so that its time and peak
// memory are its own and not what the parent gathered before.
#include <QStringList>
#include <functional>
#include <vector>

// What a child reports back through its pipe.
struct ChildFigures {
    bool ok = false;
    double seconds = 0;
    double peakGrowthBytes = 0; // peak resident size above what the child held at its start
    double peakBytes = 0;       // the child's whole peak resident size
    double phaseSeconds[2] = {0, 0};
};

// A line of /proc/self/status in bytes ("VmRSS", "VmHWM"); 0 when it cannot be read.
double StatusBytes(const char* field);

// The peak resident size starts again from the present one, so that what a part inherits
// from the parent at the fork does not count as its own.
void ResetPeak();

// Runs work in a forked child, timed from its start to its end; work may fill in phases.
ChildFigures InChild(const std::function<bool(ChildFigures&)>& work);

// A program's arguments as exec wants them, with the bytes they point into.
class ExecArguments {
public:
    explicit ExecArguments(const QStringList& arguments);
    const char* path() const { return pointers_.front(); }
    char* const* get() const { return pointers_.data(); }

private:
    QList<QByteArray> bytes_;
    std::vector<char*> pointers_;
};

// In a child about to exec: its standard output and error go to /dev/null.
void SilenceOutput();

// Runs a program found on the PATH, timed from its fork to its end by a small process that
// starts it (the benchmark's own size would otherwise count as the program's peak): whether it
// exited with 0, and its whole peak as its growth.
ChildFigures RunProgram(const QStringList& arguments);
