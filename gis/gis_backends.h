// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the GDAL plugin (orbivist-gis, a library of its own beside the program) offers: the
// program loads it the first time a job reads an area file or writes a GeoTIFF or a KMZ, so
// that no other start pays for GDAL's hundred libraries. Both sides are built from this
// header in the same build; the version guards against a stray plugin of another build.
#include "gis/area_file.h"
#include "gis/geotiff_writer.h"
#include "gis/map_shapes.h"

#include <QByteArray>
#include <QString>

#include <memory>

class GeoTiffBackend {
public:
    virtual ~GeoTiffBackend() = default;
    virtual bool Begin() = 0;
    virtual bool AddTileRow(const RgbPicture& band) = 0;
    virtual bool Finish(const GeoTiffProgress& progress) = 0;
    virtual QString ErrorText() const = 0;
};

class ZipBackend {
public:
    virtual ~ZipBackend() = default;
    virtual bool Create(const QString& path) = 0;
    virtual bool IsOpen() const = 0;
    virtual bool Add(const QByteArray& name, const QByteArray& bytes, bool compressed) = 0;
    virtual bool Close() = 0;
    virtual QString ErrorText() const = 0;
};

struct GisPlugin {
    int version = 0;
    AreaFile (*readAreaFile)(const QString& path, double bufferMetres) = nullptr;
    std::unique_ptr<GeoTiffBackend> (*makeGeoTiffWriter)(const QString& path,
                                                         const TileBlock& block,
                                                         const GeoTiffOptions& options) = nullptr;
    std::unique_ptr<ZipBackend> (*makeZipFile)() = nullptr;
    MapShapes (*readMapShapes)(const QString& path) = nullptr;
};

inline constexpr int kGisPluginVersion = 2;
// The one symbol the plugin exports: extern "C" const GisPlugin* orbivist_gis_plugin().
inline constexpr char kGisPluginEntry[] = "orbivist_gis_plugin";
inline constexpr char kGisPluginFile[] = "orbivist-gis.so";
