// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a ZIP archive entry by entry, with GDAL's writer: GDAL is there for the GeoTIFF
// anyway, and its plugin is loaded when the first archive is made.
#include <QByteArray>
#include <QString>

#include <memory>

class ZipBackend;

class ZipFile {
public:
    ZipFile();
    // Closes an archive still open; what it holds is then incomplete.
    ~ZipFile();
    ZipFile(const ZipFile&) = delete;
    ZipFile& operator=(const ZipFile&) = delete;

    // Makes the archive at path, which is written in place. False when it cannot be made.
    bool Create(const QString& path);
    bool IsOpen() const;
    // One entry: compressed deflates it, otherwise it is stored as it is.
    bool Add(const QByteArray& name, const QByteArray& bytes, bool compressed);
    // Writes the archive's directory and closes it, every entry dated now; false when that
    // failed.
    bool Close();

    // GDAL's words for the last failure (or the loader's, when GDAL could not be loaded).
    QString ErrorText() const;

private:
    std::unique_ptr<ZipBackend> gdal_; // from Create on
    QString path_;
    QString error_;
};
