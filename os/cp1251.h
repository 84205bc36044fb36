// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The windows-1251 code page, in which the program keeps its texts (its files, a request
// prefix, proxy credentials), by a table of its own: the toolkit's converter loads the ICU
// library's data, which a start or a request needs no more than this.
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <optional>

// The text the bytes stand for; 0x98, which the code page leaves unassigned, reads as U+0098.
QString Cp1251Decode(QByteArrayView bytes);

// The code page's byte for the character; nothing for a character it has no byte for.
std::optional<char> Cp1251Byte(QChar c);
