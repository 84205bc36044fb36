// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a stitch command checks about its picture's name before it fetches a single tile, so
// that a name it could never write is refused at once rather than after hours of fetching.
#include <QString>
#include <optional>

// The picture's name as it will be written: a new name without an extension of at least one
// character after its dot gets ".jpg", as the save dialog's default suffix does. A name that
// exists is taken as it is (and refused if it is no regular file).
QString PictureFileName(const QString& path);

// Why a file cannot be written at path, in one line, or nothing when it can be tried: the
// folder must exist, be a folder and take new files, and the name must fit its file system;
// an existing file there must be a regular file.
std::optional<QString> FileRefusal(const QString& path);

// The part of FileRefusal about the folder that is to hold path.
std::optional<QString> FolderRefusal(const QString& path);

// FileRefusal of an export's file, or for an OruxMaps map of its folder: a new one, or an
// earlier map's that it may replace.
std::optional<QString> ExportOutputRefusal(const QString& path);

// FileRefusal of the picture, and for a JPEG also of its calibration and world files.
std::optional<QString> OutputRefusal(const QString& path);
