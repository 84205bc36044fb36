// SPDX-License-Identifier: GPL-3.0-or-later
#include "gis/zip_file.h"

#include "gis/gis_library.h"
#include "gis/zip_entry_dates.h"

#include <QDateTime>

ZipFile::ZipFile() = default;
ZipFile::~ZipFile() = default;

bool ZipFile::Create(const QString& path) {
    const LoadedGisPlugin& gis = GisLibrary();
    if (gis.plugin == nullptr) {
        error_ = gis.error;
        return false;
    }
    path_ = path;
    gdal_ = gis.plugin->makeZipFile();
    return gdal_->Create(path);
}

bool ZipFile::IsOpen() const {
    return gdal_ && gdal_->IsOpen();
}

bool ZipFile::Add(const QByteArray& name, const QByteArray& bytes, bool compressed) {
    return gdal_ && gdal_->Add(name, bytes, compressed);
}

bool ZipFile::Close() {
    if (!gdal_ || !gdal_->Close())
        return false;
    if (!StampZipEntryDates(path_, QDateTime::currentDateTime())) {
        error_ = QStringLiteral("cannot date the entries of %1").arg(path_);
        return false;
    }
    return true;
}

QString ZipFile::ErrorText() const {
    if (!error_.isEmpty() || !gdal_)
        return error_;
    return gdal_->ErrorText();
}
