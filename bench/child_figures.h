#pragma once
// Running a part of a benchmark in a forked child of its own, so that its time and peak
// memory are its own and not what the parent gathered before.
#include <QStringList>
#include <functional>

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

// Runs a program found on the PATH, timed from the fork to its end: whether it exited
// with 0, and its whole peak as its growth.
ChildFigures RunProgram(const QStringList& arguments);
