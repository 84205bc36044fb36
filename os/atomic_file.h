// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Replacing a file so that its name only ever shows the old content or the complete new one.
// The new content goes to a fresh temporary file beside the target, which is renamed over the
// target once every byte has been written. A full disk, a file-size limit or any other write
// error is seen at the write that hits it, and the target is then left as it was.
//
//     AtomicFile file(path);
//     if (!file.Open() || !file.Write(data, size) || !file.Commit(Durability::Synced))
//         report(file.ErrorText());
#include "os/temp_files.h"
#include "os/unique_fd.h"

#include <QByteArray>
#include <QFile>
#include <QString>

class AtomicFile {
public:
    enum class Durability {
        // Flushed to the disk before the rename: after a power cut the name shows the old or
        // the new content. For the user's own files.
        Synced,
        // Atomic but not flushed: a crash may lose the new content, never mix it with the
        // old. For files that can be fetched again, such as cached tiles.
        Unsynced,
    };

    explicit AtomicFile(QString path);
    // Removes the temporary file unless Commit succeeded.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file in the target's directory; refused when the target exists
    // and is neither a regular file nor a symbolic link. It is always a new file (an
    // existing name or a symbolic link there is never opened) with the permissions of a
    // normal new file. The directory is never created.
    bool Open();
    // Appends the bytes; false as soon as any of them cannot be written.
    bool Write(const char* data, qint64 size);
    bool Write(const QByteArray& bytes) { return Write(bytes.constData(), bytes.size()); }
    // Starts the disk writing what was written so far, without waiting for it. Only advice:
    // a set of files that all start so before the first is completed syncs in one go, where
    // each sync would otherwise wait for a journal commit of its own.
    void StartFlush();
    // Finishes the temporary file (synced as asked, with the permissions of the file it
    // will replace) without putting it in place yet, so that several files can all be
    // complete before any of them replaces its old one. False when anything failed.
    bool Complete(Durability durability);
    // Puts the written content under the target's name, completing it first if need be. A symbolic
    // link of that name is replaced itself, never followed. False when anything failed, before or
    // now; the target is then untouched.
    bool Commit(Durability durability) { return Commit(durability, DirectorySync::Now); }
    // Who makes a synced rename last: Commit itself, or the caller, who puts a set of files
    // in place and then calls SyncDirectoryOf once for their directory, rather than flushing
    // the disk's cache once a file.
    enum class DirectorySync { Now, ByCaller };
    bool Commit(Durability durability, DirectorySync directory);

    // The temporary file's name after a successful Open, for writers that need a path rather
    // than the descriptor (SQLite, GDAL). They must write that file in place, never replace
    // it, so that Commit syncs and renames what they wrote.
    QString TemporaryPath() const { return QFile::decodeName(tempName_); }

    // What went wrong, in the user's words for a message; empty while nothing has.
    QString ErrorText() const { return error_; }
    // The path the file puts in place.
    const QString& Path() const { return path_; }

private:
    bool Fail(int errorNumber);
    void Discard();

    QString path_;
    QByteArray tempName_; // in the file system's encoding
    UniqueFd fd_;
    TempFileHold hold_; // keeps other runs' clean-up off the temporary file
    bool failed_ = false;
    bool completed_ = false;
    bool synced_ = false;
    bool committed_ = false;
    QString error_;
};

// Makes the renames into the directory of path last (after a power cut too). Some file
// systems cannot sync a directory; the files' content is safe anyway.
void SyncDirectoryOf(const QString& path);

// Open, Write and Commit for a whole buffer; false when the file could not be replaced.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes,
                         AtomicFile::Durability durability);

// The user's words for why a file could not be written, from the system's error number:
// "нет места на диске", "нет доступа", "папка не существует" or "ошибка записи".
QString WriteFailureText(int errorNumber);

// The same for a write into path that failed without its reason (a library that says nothing,
// or "unknown error"): a full disk when the file system there has no room left, else
// "ошибка записи".
QString WriteFailureTextAt(const QString& path);
