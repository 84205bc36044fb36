// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/child_figures.h"

#include <QElapsedTimer>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

// A line of /proc/self/status in bytes ("VmRSS", "VmHWM"); 0 when it cannot be read.
double StatusBytes(const char* field) {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr)
        return 0;
    char line[256];
    double kib = 0;
    const std::size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, status) != nullptr)
        if (std::strncmp(line, field, length) == 0 && line[length] == ':')
            kib = std::strtod(line + length + 1, nullptr);
    std::fclose(status);
    return kib * 1024;
}

// The peak resident size starts again from the present one, so that what a part inherits
// from the parent at the fork does not count as its own.
void ResetPeak() {
    const int fd = ::open("/proc/self/clear_refs", O_WRONLY);
    if (fd < 0)
        return;
    [[maybe_unused]] const ssize_t written = ::write(fd, "5", 1);
    ::close(fd);
}

// Runs work in a forked child, timed from its start to its end; work may fill in phases.
ChildFigures InChild(const std::function<bool(ChildFigures&)>& work) {
    int fds[2];
    if (::pipe(fds) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid < 0)
        return {};
    if (pid == 0) {
        ::close(fds[0]);
        ResetPeak();
        ChildFigures figures;
        const double start = StatusBytes("VmRSS");
        QElapsedTimer timer;
        timer.start();
        figures.ok = work(figures);
        figures.seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        figures.peakBytes = StatusBytes("VmHWM");
        figures.peakGrowthBytes = figures.peakBytes - start;
        [[maybe_unused]] const ssize_t written = ::write(fds[1], &figures, sizeof figures);
        ::_exit(0); // no destructors or Qt clean-up of the parent's objects
    }
    ::close(fds[1]);
    ChildFigures figures;
    if (::read(fds[0], &figures, sizeof figures) != static_cast<ssize_t>(sizeof figures))
        figures.ok = false;
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return figures;
}

ExecArguments::ExecArguments(const QStringList& arguments) {
    for (const QString& argument : arguments)
        bytes_.append(argument.toLocal8Bit());
    for (QByteArray& argument : bytes_)
        pointers_.push_back(argument.data());
    pointers_.push_back(nullptr);
}

void SilenceOutput() {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
}

ChildFigures RunProgram(const QStringList& arguments) {
    int fds[2];
    if (::pipe(fds) != 0)
        return {};
    ExecArguments argv(QStringList{QStringLiteral(ORBIVIST_BUILD_DIR "/orbivist-bench-spawn"),
                                   QString::number(fds[1])} +
                       arguments);
    const pid_t pid = ::fork();
    if (pid < 0)
        return {};
    if (pid == 0) {
        ::close(fds[0]);
        SilenceOutput(); // progress lines would only clutter the benchmark's table
        ::execv(argv.path(), argv.get());
        ::_exit(127);
    }
    ::close(fds[1]);
    char line[96] = {};
    const ssize_t size = ::read(fds[0], line, sizeof line - 1);
    ::close(fds[0]);
    ::waitpid(pid, nullptr, 0);
    ChildFigures figures;
    double seconds = 0;
    int exitCode = -1;
    long maxKib = 0;
    if (size <= 0 || std::sscanf(line, "%lf %d %ld", &seconds, &exitCode, &maxKib) != 3)
        return figures;
    figures.seconds = seconds;
    figures.ok = exitCode == 0;
    figures.peakBytes = static_cast<double>(maxKib) * 1024;
    figures.peakGrowthBytes = figures.peakBytes;
    return figures;
}
