// SPDX-License-Identifier: GPL-3.0-or-later
#include "gis/gdal_backends.h"

#include "gis/gdal_session.h"

#include <QFile>
#include <cpl_conv.h>
#include <cpl_string.h>

#include <utility>

namespace {

class GdalZipFile final : public ZipBackend {
public:
    GdalZipFile() = default;
    ~GdalZipFile() override;
    GdalZipFile(const GdalZipFile&) = delete;
    GdalZipFile& operator=(const GdalZipFile&) = delete;

    bool Create(const QString& path) override;
    bool IsOpen() const override { return zip_ != nullptr; }
    bool Add(const QByteArray& name, const QByteArray& bytes, bool compressed) override;
    bool Close() override;
    QString ErrorText() const override { return error_; }

private:
    bool Fail();

    void* zip_ = nullptr;
    QString path_;
    QString error_;
};

GdalZipFile::~GdalZipFile() {
    if (zip_ != nullptr) {
        GdalSession gdal;
        CPLCloseZip(zip_);
    }
}

bool GdalZipFile::Fail() {
    error_ = GdalSession::LastWriteError(path_);
    return false;
}

bool GdalZipFile::Create(const QString& path) {
    GdalSession gdal;
    path_ = path;
    zip_ = CPLCreateZip(QFile::encodeName(path).constData(), nullptr);
    return zip_ != nullptr || Fail();
}

bool GdalZipFile::Add(const QByteArray& name, const QByteArray& bytes, bool compressed) {
    GdalSession gdal;
    CPLStringList options;
    options.SetNameValue("COMPRESSED", compressed ? "YES" : "NO");
    const bool ok = CPLCreateFileInZip(zip_, name.constData(), options.List()) == CE_None &&
                    CPLWriteFileInZip(zip_, bytes.constData(), int(bytes.size())) == CE_None &&
                    CPLCloseFileInZip(zip_) == CE_None;
    return ok || Fail();
}

bool GdalZipFile::Close() {
    GdalSession gdal;
    return CPLCloseZip(std::exchange(zip_, nullptr)) == CE_None || Fail();
}

} // namespace

std::unique_ptr<ZipBackend> MakeGdalZipFile() {
    return std::make_unique<GdalZipFile>();
}
