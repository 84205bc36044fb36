// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a program and reports its wall time, exit status and peak resident size on a descriptor:
//   orbivist-bench-spawn FD PROGRAM [ARGUMENT...]
// The benchmark starts programs through this small process rather than forking itself: a child
// forked from the benchmark holds the benchmark's whole resident size until it execs, and the
// kernel keeps that as the child's peak, which would stand in for the program's own.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    const int report = std::atoi(argv[1]);
    timespec start{}, end{};
    ::clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t pid = ::fork();
    if (pid < 0)
        return 2;
    if (pid == 0) {
        ::close(report);
        ::execvp(argv[2], argv + 2);
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid)
        return 2;
    ::clock_gettime(CLOCK_MONOTONIC, &end);
    const double seconds =
        static_cast<double>(end.tv_sec - start.tv_sec) + (end.tv_nsec - start.tv_nsec) / 1e9;
    const int exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    char line[96];
    const int length =
        std::snprintf(line, sizeof line, "%.9f %d %ld\n", seconds, exitCode, usage.ru_maxrss);
    return ::write(report, line, static_cast<std::size_t>(length)) == length ? 0 : 2;
}
