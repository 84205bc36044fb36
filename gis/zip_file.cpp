#include "gis/zip_file.h"

#include "gis/gdal_session.h"

#include <QFile>
#include <cpl_conv.h>
#include <cpl_string.h>

#include <utility>

ZipFile::~ZipFile() {
    if (zip_ != nullptr) {
        GdalSession gdal;
        CPLCloseZip(zip_);
    }
}

bool ZipFile::Fail() {
    error_ = GdalSession::LastWriteError(path_);
    return false;
}

bool ZipFile::Create(const QString& path) {
    GdalSession gdal;
    path_ = path;
    zip_ = CPLCreateZip(QFile::encodeName(path).constData(), nullptr);
    return zip_ != nullptr || Fail();
}

bool ZipFile::Add(const QByteArray& name, const QByteArray& bytes, bool compressed) {
    GdalSession gdal;
    CPLStringList options;
    options.SetNameValue("COMPRESSED", compressed ? "YES" : "NO");
    const bool ok = CPLCreateFileInZip(zip_, name.constData(), options.List()) == CE_None &&
                    CPLWriteFileInZip(zip_, bytes.constData(), int(bytes.size())) == CE_None &&
                    CPLCloseFileInZip(zip_) == CE_None;
    return ok || Fail();
}

bool ZipFile::Close() {
    GdalSession gdal;
    return CPLCloseZip(std::exchange(zip_, nullptr)) == CE_None || Fail();
}
