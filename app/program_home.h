// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program directory: where ORB.ini, Favorites.dat and the default cache live.
#include "sources/source_catalog.h"

#include <QString>
#include <utility>

struct ProgramHome {
    ProgramHome(QString dir, QString dataDir = {})
        : dir(std::move(dir)), dataDir(std::move(dataDir)) {}

    QString dir; // always ends with '/'
    // The installed program's read-only files (ReadMe.txt); empty: they lie in dir, as in the
    // build folder.
    QString dataDir;

    QString File(const QString& name) const { return dir + name; }
    QString DefaultCacheRoot() const { return dir + QStringLiteral("Cash/"); }
    // The user's guide of that name (ReadMe.txt in Russian, ReadMe.en.txt in English).
    QString ReadMe(const QString& name = QStringLiteral("ReadMe.txt")) const {
        return (dataDir.isEmpty() ? dir : dataDir) + name;
    }
};

// For an executable in exeDir that was installed, the folder of its read-only files ending with
// '/'; empty otherwise. Installed means it sits in <prefix>/bin beside
// <prefix>/share/orbivist/ReadMe.txt, which no build folder has.
QString InstalledDataDir(const QString& exeDir);

// $XDG_DATA_HOME/orbivist/, or ~/.local/share/orbivist/ when that variable is unset or not an
// absolute path.
QString UserDataHome();

// The program directory for a --home option (empty when not given) and the executable's
// directory: the option; else the executable's directory; but for an installed program, whose
// directory is the system's, UserDataHome(). Creates that last one with its cache folder when
// missing; a failure to do so is said on standard error, and each save reports its own.
ProgramHome OpenProgramHome(const QString& homeOption, const QString& exeDir);

// The imagery sources the user may choose from: the shipped Sources.ini where the program's
// read-only files lie (beside the executable in a build folder), then MySources.ini in the
// program directory.
SourceCatalog ProgramSources(const ProgramHome& home);
