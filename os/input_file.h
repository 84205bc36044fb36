// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a file the program takes in (its settings, favourites, sources files, a certificate
// file): one rule for all of them. Only a regular file is read, and never more than a limit,
// so a pipe, a device or a link to one costs neither a hang nor unbounded memory.
#include <QByteArray>
#include <QString>
#include <QtGlobal>

struct InputFile {
    enum class Outcome {
        Read,
        Missing,    // no such name
        Dangling,   // a symbolic link to nothing
        NotRegular, // a directory, a pipe, a device or a socket
        TooLarge,   // more than the caller's limit
        Unreadable, // could not be opened or read
    };
    Outcome outcome = Outcome::Missing;
    QByteArray bytes; // empty unless Read
    QString error;    // the system's words, for Unreadable

    bool Read() const { return outcome == Outcome::Read; }
    // What is wrong, in a few English words for a message ("not a regular file"); empty when
    // Read.
    QString Problem(qint64 maxBytes) const;
};

// Reads the whole file at path when it is a regular file (or a link to one) of at most maxBytes.
// Opening never blocks, and at most maxBytes + 1 bytes are read whatever the size says.
InputFile ReadInputFile(const QString& path, qint64 maxBytes);

// The same checks without reading, for a file another library reads by name: nothing when it
// would be read, else its outcome.
InputFile CheckInputFile(const QString& path, qint64 maxBytes);
