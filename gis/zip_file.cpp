#include "gis/zip_file.h"

#include "gis/gis_library.h"

ZipFile::ZipFile() = default;
ZipFile::~ZipFile() = default;

bool ZipFile::Create(const QString& path) {
    const LoadedGisPlugin& gis = GisLibrary();
    if (gis.plugin == nullptr) {
        error_ = gis.error;
        return false;
    }
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
    return gdal_ && gdal_->Close();
}

QString ZipFile::ErrorText() const {
    return gdal_ ? gdal_->ErrorText() : error_;
}
