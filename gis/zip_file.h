#pragma once
// Writing a ZIP archive entry by entry, with GDAL's writer: GDAL is there for the GeoTIFF
// anyway, and this folder alone links it.
#include <QByteArray>
#include <QString>

class ZipFile {
public:
    ZipFile() = default;
    // Closes an archive still open; what it holds is then incomplete.
    ~ZipFile();
    ZipFile(const ZipFile&) = delete;
    ZipFile& operator=(const ZipFile&) = delete;

    // Makes the archive at path, which is written in place. False when it cannot be made.
    bool Create(const QString& path);
    bool IsOpen() const { return zip_ != nullptr; }
    // One entry: compressed deflates it, otherwise it is stored as it is.
    bool Add(const QByteArray& name, const QByteArray& bytes, bool compressed);
    // Writes the archive's directory and closes it; false when that failed.
    bool Close();

    // GDAL's words for the last failure, or the disk's when GDAL has none.
    QString ErrorText() const { return error_; }

private:
    bool Fail();

    void* zip_ = nullptr;
    QString path_;
    QString error_;
};
