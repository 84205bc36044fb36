#pragma once
// The program directory: where ORB.ini, Favorites.dat, ReadMe.txt and the default cache live.
#include <QString>

struct ProgramHome {
    QString dir; // always ends with '/'

    QString File(const QString& name) const { return dir + name; }
    QString DefaultCacheRoot() const { return dir + QStringLiteral("Cash/"); }
};
