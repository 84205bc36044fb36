// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lets failing expectations show Qt strings as text.
#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
