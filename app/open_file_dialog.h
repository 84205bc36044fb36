// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own dialog for choosing an existing file to read, in front of its owner.
#include <QString>
#include <optional>

class QWidget;

// The file chosen, or nothing when the user declined.
std::optional<QString> AskFileToOpen(QWidget* owner, const QString& title, const QString& start,
                                     const QString& filter);
