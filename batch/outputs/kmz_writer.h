// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a block of tiles as a KMZ of ground overlays, the custom-map format of Garmin
// handhelds (and read by Google Earth): doc.kml and one baseline JPEG per picture of at
// most 4 × 4 tiles (1024 pixels a side), at most 100 pictures, the limits of those
// devices. Tiles come as their cached JPEG bytes in any order; a picture is made, written
// and forgotten as soon as all its tiles are in, so only the tiles of unfinished pictures
// are held. Built under a temporary name and renamed over the target when complete.
#include "gis/zip_file.h"
#include "os/atomic_file.h"
#include "tiles/tile_block.h"

#include <QByteArray>
#include <QString>
#include <map>
#include <optional>
#include <vector>

inline constexpr int kKmzPictureTiles = 4;
inline constexpr int kKmzMaxPictures = 100;

// The number of pictures the block makes.
std::int64_t KmzPictureCount(const TileBlock& block);

// Why the block cannot go into a KMZ (more than kKmzMaxPictures pictures), or nothing.
std::optional<QString> KmzRefusal(const TileBlock& block);

class KmzWriter {
public:
    // name titles the map in the device's list; quality is the pictures' JPEG quality;
    // attribution, when given, is the document's description.
    KmzWriter(QString path, TileBlock block, QString name, int quality, QString attribution = {});
    ~KmzWriter();
    KmzWriter(const KmzWriter&) = delete;
    KmzWriter& operator=(const KmzWriter&) = delete;

    // Refuses a block of too many pictures with KmzRefusal's text as ErrorText.
    bool Begin();
    // A tile of the block; a tile outside it is an error.
    bool AddTile(const TileKey& key, const QByteArray& jpeg);
    // Makes the pictures still waiting for tiles, black where a tile never came, and puts
    // the file under the target's name.
    bool Finish();

    QString ErrorText() const { return error_; }

private:
    struct Picture {
        std::int64_t column = 0; // of its north-west tile, in the block
        std::int64_t row = 0;
        std::int64_t columns = 0;
        std::int64_t rows = 0;
    };
    Picture PictureAt(std::int64_t index) const;
    QByteArray DocumentKml() const;
    bool WritePicture(std::int64_t index);
    bool WriteEntry(const QByteArray& name, const QByteArray& bytes, bool compressed);
    bool Fail(const QString& what);

    QString path_;
    TileBlock block_;
    QString name_;
    int quality_;
    QString attribution_;
    std::int64_t picturesAcross_ = 0;
    AtomicFile file_;
    ZipFile zip_;                                             // on the temporary file of file_
    std::map<std::int64_t, std::vector<QByteArray>> waiting_; // tiles by picture, row-major
    std::vector<bool> written_;
    bool failed_ = false;
    QString error_;
};
