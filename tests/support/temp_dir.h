// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A scratch directory per test, removed with everything in it afterwards.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class TempDir {
public:
    TempDir();
    // The directory with a trailing '/'.
    QString path() const { return dir_.path() + '/'; }
    QString file(const QString& name) const { return path() + name; }
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;
    bool exists(const QString& name) const;
    // Every entry in it, hidden ones included, sorted by name.
    QStringList names() const;

private:
    QTemporaryDir dir_;
};
