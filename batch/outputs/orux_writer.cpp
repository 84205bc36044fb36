// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/outputs/orux_writer.h"

#include "batch/outputs/export_format.h"
#include "os/atomic_file.h"
#include "os/temp_files.h"
#include "os/unique_fd.h"

#include <QDir>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kCalibrationSuffix[] = ".otrk2.xml";

constexpr char kSchema[] = "CREATE TABLE tiles (x int, y int, z int, image blob, "
                           "PRIMARY KEY (x, y, z));"
                           "CREATE TABLE android_metadata (locale text);"
                           "INSERT INTO android_metadata VALUES ('en_US');";

QString Degrees(double value) {
    return QString::number(value, 'f', 8);
}

QString MapName(const QString& path) {
    const QFileInfo info(path);
    return info.suffix().compare(QLatin1String("orux"), Qt::CaseInsensitive) == 0
               ? info.completeBaseName()
               : info.fileName();
}

// The file's own writes reach the disk before the folder gets its name.
bool Sync(const QString& path) {
    const UniqueFd fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
    return fd.Valid() && ::fsync(fd.Get()) == 0;
}

QString Layer(const QString& name, const TileBlock& block) {
    const GeoBounds b = BlockBounds(block);
    const QString corner = QStringLiteral("        <CalibrationPoint corner=\"%1\" lon=\"%2\" "
                                          "lat=\"%3\" />\n");
    return QStringLiteral(
               "<OruxTracker xmlns=\"http://oruxtracker.com/app/res/calibration\" "
               "versionCode=\"2.1\">\n"
               "  <MapCalibration layers=\"false\" layerLevel=\"%1\">\n"
               "    <MapName><![CDATA[%2 %1]]></MapName>\n"
               "    <MapChunks xMax=\"%3\" yMax=\"%4\" datum=\"WGS84\" projection=\"Mercator\" "
               "img_height=\"256\" img_width=\"256\" file_name=\"%2\" />\n"
               "    <MapDimensions height=\"%5\" width=\"%6\" />\n"
               "    <MapBounds minLat=\"%7\" maxLat=\"%8\" minLon=\"%9\" maxLon=\"%10\" />\n"
               "    <CalibrationPoints>\n")
               .arg(block.level)
               .arg(name)
               .arg(block.columns)
               .arg(block.rows)
               .arg(block.rows * kTileSide)
               .arg(block.columns * kTileSide)
               .arg(Degrees(b.south), Degrees(b.north), Degrees(b.west), Degrees(b.east)) +
           corner.arg("TL", Degrees(b.west), Degrees(b.north)) +
           corner.arg("BR", Degrees(b.east), Degrees(b.south)) +
           corner.arg("TR", Degrees(b.east), Degrees(b.north)) +
           corner.arg("BL", Degrees(b.west), Degrees(b.south)) +
           QStringLiteral("    </CalibrationPoints>\n  </MapCalibration>\n</OruxTracker>\n");
}

} // namespace

std::optional<QString> OruxFolderRefusal(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return std::nullopt;
    const QString cannot = QStringLiteral("cannot replace %1: ").arg(info.absoluteFilePath());
    if (info.isSymLink() || !info.isDir())
        return cannot + QStringLiteral("it is not a folder");
    for (const QFileInfo& entry : QDir(path).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                           QDir::System | QDir::NoDotAndDotDot)) {
        const bool mapFile = entry.isFile() && !entry.isSymLink() &&
                             (entry.fileName() == QLatin1String(kOruxDatabaseName) ||
                              entry.fileName().endsWith(QLatin1String(kCalibrationSuffix)));
        if (!mapFile)
            return cannot + QStringLiteral("it holds %1, which is not part of an OruxMaps map")
                                .arg(entry.fileName());
    }
    return std::nullopt;
}

QByteArray OruxCalibration(const QString& name, const std::vector<TileBlock>& layers) {
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<OruxTracker xmlns=\"http://oruxtracker.com/app/res/calibration\""
                                 " versionCode=\"3.0\">\n"
                                 "<MapCalibration layers=\"true\" layerLevel=\"0\">\n"
                                 "<MapName><![CDATA[%1]]></MapName>\n")
                      .arg(name);
    for (const TileBlock& block : layers)
        xml += Layer(name, block);
    xml += QStringLiteral("</MapCalibration>\n</OruxTracker>\n");
    return xml.toUtf8();
}

OruxWriter::OruxWriter(QString path)
    : TileFileWriter(WithoutTrailingSlashes(path)), name_(MapName(Path())) {}

OruxWriter::~OruxWriter() {
    db_.Close();
}

void OruxWriter::Abandon() {
    open_ = false;
    db_.Close();
    folder_.reset();
}

bool OruxWriter::Begin(const TilesetMetadata& metadata) {
    if (open_ || Failed())
        return Fail(QStringLiteral("already begun"));
    if (metadata.levels.empty())
        return Fail(QStringLiteral("no region to export"));
    if (const std::optional<QString> refusal = OruxFolderRefusal(Path()))
        return Fail(*refusal);
    layers_ = metadata.levels;
    folder_ = std::make_unique<QTemporaryDir>(TempFileTemplate(QFileInfo(Path()).absolutePath()));
    if (!folder_->isValid())
        return Fail(folder_->errorString());
    open_ = true;
    if (!db_.Open(folder_->filePath(kOruxDatabaseName)) || !db_.Exec(kSchema) ||
        !db_.Exec("BEGIN;"))
        return Fail(db_.Error());
    insertTile_ = db_.Prepare("INSERT OR REPLACE INTO tiles VALUES (?, ?, ?, ?)");
    return insertTile_ != nullptr || Fail(db_.Error());
}

bool OruxWriter::AddTile(const TileKey& key, const QByteArray& bytes) {
    if (!open_)
        return Fail(QStringLiteral("not begun"));
    std::optional<BlockOffset> offset;
    for (const TileBlock& layer : layers_)
        if (!offset)
            offset = OffsetInBlock(layer, key);
    if (!offset)
        return Fail(QStringLiteral("a tile outside the map's layers"));
    return db_.Run(insertTile_,
                   {offset->column, offset->row, std::int64_t{key.level}, SqlBlob{bytes}}) ||
           Fail(db_.Error());
}

bool OruxWriter::Finish() {
    if (!open_)
        return Fail(QStringLiteral("not begun"));
    if (!db_.Exec("COMMIT;"))
        return Fail(db_.Error());
    if (!db_.Close() || !Sync(folder_->filePath(kOruxDatabaseName)))
        return Fail(QStringLiteral("the database could not be closed"));
    const QString calibration = folder_->filePath(name_ + QLatin1String(kCalibrationSuffix));
    if (!WriteFileAtomically(calibration, OruxCalibration(name_, layers_),
                             AtomicFile::Durability::Synced))
        return Fail(QStringLiteral("the calibration file could not be written"));
    return PutInPlace();
}

// The new folder takes the name; an earlier map there is moved aside first and removed once
// the new one is in place, so that a failure leaves the earlier one.
bool OruxWriter::PutInPlace() {
    if (const std::optional<QString> refusal = OruxFolderRefusal(Path()))
        return Fail(*refusal);
    const QString target = QFileInfo(Path()).absoluteFilePath();
    const QString parent = QFileInfo(target).absolutePath();
    std::optional<QTemporaryDir> aside;
    if (QFileInfo::exists(target)) {
        aside.emplace(TempFileTemplate(parent));
        if (!aside->isValid() || !QDir().rename(target, aside->filePath(name_)))
            return Fail(QStringLiteral("the earlier map could not be moved aside"));
    }
    if (!QDir().rename(folder_->path(), target)) {
        if (aside)
            QDir().rename(aside->filePath(name_), target);
        return Fail(QStringLiteral("the folder could not be renamed"));
    }
    folder_->setAutoRemove(false);
    // A temporary folder is the owner's alone; the map is as open as any new folder.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(QFile::encodeName(target).constData(), 0777 & ~mask);
    folder_.reset();
    open_ = false;
    Sync(parent);
    return true;
}
