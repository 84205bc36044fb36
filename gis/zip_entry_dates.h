// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// GDAL's ZIP writer leaves every entry's date at zero (1980-00-00), which readers reject or
// show as garbage; this dates each entry of a finished archive, in its central directory and
// in its local header.
#include <QDateTime>
#include <QString>

// False when the file is not a ZIP archive this can read, or cannot be rewritten.
bool StampZipEntryDates(const QString& path, const QDateTime& when);
