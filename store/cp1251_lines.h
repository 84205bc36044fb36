// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Line lists stored as single-byte Windows-1251 text, the format of the program's own files.
#include <QString>
#include <QStringList>
#include <QtGlobal>

struct Cp1251Lines {
    enum class Outcome {
        Read,
        Missing,    // no file of that name (a directory does not count as one)
        Unreadable, // a file that could not be opened or read
        TooLarge,   // more bytes or lines than the caller will take
    };
    Outcome outcome = Outcome::Missing;
    QStringList lines; // empty unless Read
};

// Reads a whole file as lines. CR, LF and CR LF each end a line; a last line without a break
// still counts, and a final break adds no empty line. A NUL byte ends the text. A file of
// more than maxBytes, or of more than maxLines lines before the NUL, is TooLarge; no more
// than maxBytes + 1 bytes are ever read, so any file costs bounded time and memory.
Cp1251Lines ReadCp1251Lines(const QString& path, qint64 maxBytes, qsizetype maxLines);

// The lines as the file holds them, each followed by CR LF (see WriteCp1251Lines).
QByteArray Cp1251LinesBytes(const QStringList& lines);

// Replaces the file with the lines, each followed by CR LF. The new content appears under the
// name only once it is complete, so a failed write leaves the previous file as it was.
// A character the code page has no byte for, and a NUL, CR or LF inside a line (which would
// cut the text or shift every following line), is written as '?'; each UTF-16 unit gives one
// byte, so a line keeps its length. Returns false when the file could not be written.
bool WriteCp1251Lines(const QString& path, const QStringList& lines);

// Whether every character of the text has its own byte in the code page, so that it is
// stored as it is: no '?' in its place and no NUL, CR or LF to cut the line.
bool FitsCp1251(QStringView text);
