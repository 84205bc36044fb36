// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_home.h"

#include "sources/source_catalog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {

QString WithSlash(QString dir) {
    dir = QDir(dir).absolutePath();
    return dir.endsWith('/') ? dir : dir + '/';
}

} // namespace

QString InstalledDataDir(const QString& exeDir) {
    const QDir bin(exeDir);
    if (bin.dirName() != QLatin1String("bin"))
        return {};
    const QString data = WithSlash(bin.absoluteFilePath(QStringLiteral("../share/orbivist")));
    return QFileInfo::exists(data + QStringLiteral("ReadMe.txt")) ? data : QString();
}

QString UserDataHome() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return WithSlash(base + QStringLiteral("/orbivist"));
}

ProgramHome OpenProgramHome(const QString& homeOption, const QString& exeDir) {
    const QString dataDir = InstalledDataDir(exeDir);
    if (!homeOption.isEmpty())
        return {WithSlash(homeOption), dataDir};
    if (dataDir.isEmpty())
        return {WithSlash(exeDir), {}};
    const ProgramHome home{UserDataHome(), dataDir};
    if (!QDir().mkpath(home.DefaultCacheRoot()))
        std::fprintf(stderr, "orbivist: cannot create %s\n",
                     QDir::toNativeSeparators(home.DefaultCacheRoot()).toUtf8().constData());
    return home;
}

SourceCatalog ProgramSources(const ProgramHome& home) {
    const QString shippedDir =
        home.dataDir.isEmpty() ? WithSlash(QCoreApplication::applicationDirPath()) : home.dataDir;
    return LoadSourceCatalog(shippedDir + kShippedSourcesFile, home.File(kUserSourcesFile));
}
