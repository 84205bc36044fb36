// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the settings and favourites targets share: a scratch file per process and the
// properties of writing lines that were read and reading them back.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>

// A file in a scratch directory of this process (under TMPDIR), replaced by each call.
QString WriteScratchFile(const QString& name, const std::uint8_t* data, std::size_t size);
QByteArray ReadScratchFile(const QString& path);

// Lines written and read back keep their number and lengths; each character either comes
// back as it was or, having no byte in the code page, as '?'.
void CheckReadBack(const QStringList& written, const QStringList& readBack);
