// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/child_process.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

// Our environment minus the secrets, as the program's own NUL-ended strings.
std::vector<QByteArray> CleanEnvironment() {
    const QByteArray secret = QByteArray(kDialPasswordVariable) + '=';
    std::vector<QByteArray> kept;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (std::strncmp(*entry, secret.constData(), static_cast<size_t>(secret.size())) != 0)
            kept.emplace_back(*entry);
    }
    return kept;
}

std::vector<char*> Pointers(std::vector<QByteArray>& strings) {
    std::vector<char*> pointers;
    for (QByteArray& s : strings)
        pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

std::optional<ChildProcess::Exit> Reap(pid_t pid, int options) {
    int status = 0;
    pid_t done;
    do {
        done = waitpid(pid, &status, options);
    } while (done < 0 && errno == EINTR);
    if (done != pid)
        return std::nullopt;
    if (WIFSIGNALED(status))
        return ChildProcess::Exit{true, WTERMSIG(status)};
    return ChildProcess::Exit{false, WEXITSTATUS(status)};
}

} // namespace

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        Reap(pid_, 0);
    }
}

bool ChildProcess::Start(const QString& program, const QStringList& arguments) {
    std::vector<QByteArray> argv{QFile::encodeName(program)};
    for (const QString& argument : arguments)
        argv.push_back(argument.toLocal8Bit());
    std::vector<QByteArray> environment = CleanEnvironment();
    std::vector<char*> argvPointers = Pointers(argv);
    std::vector<char*> envPointers = Pointers(environment);

    posix_spawnattr_t attributes;
    posix_spawn_file_actions_t files;
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_init(&files);
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    sigdelset(&all, SIGKILL);
    sigdelset(&all, SIGSTOP);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    for (const int fd : {0, 1, 2})
        posix_spawn_file_actions_addopen(&files, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, argvPointers[0], &files, &attributes, argvPointers.data(),
                                   envPointers.data());
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    if (failed != 0)
        return false;
    pid_ = pid;
    return true;
}

std::optional<ChildProcess::Exit> ChildProcess::Wait(const std::function<bool()>& stop,
                                                     int pollMs) {
    for (;;) {
        if (const std::optional<Exit> exit = Reap(pid_, WNOHANG)) {
            pid_ = -1;
            return exit;
        }
        if (stop && stop())
            return std::nullopt;
        QThread::msleep(static_cast<unsigned long>(pollMs));
    }
}

void ChildProcess::End(int graceMs) {
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    QElapsedTimer waited;
    waited.start();
    if (Wait([&waited, graceMs] { return waited.elapsed() >= graceMs; }, 20))
        return;
    kill(pid_, SIGKILL);
    Reap(pid_, 0);
    pid_ = -1;
}
