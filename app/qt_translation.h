// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The translations a language needs: Qt's own Russian texts for the standard dialogs and
// buttons, or the program's English ones.
#include "app/language.h"

#include <QString>
#include <QStringList>

class QCoreApplication;

// Loads qtbase_ru from Qt's translations folder into the application; false when the file
// is not installed, and the standard texts then stay in English.
bool InstallQtRussian(QCoreApplication& app);

// Where orbivist_en.qm is looked for: beside the executable (the build folder), then in the
// installed program's translations folder.
QStringList TranslationDirs(const QString& exeDir);

// Loads the program's English texts from the first of dirs that holds them; false, and the
// texts stay Russian, when none does.
bool InstallEnglish(QCoreApplication& app, const QStringList& dirs);

// What the language needs: Qt's Russian for Russian, the program's English for English.
// Says on standard error when the English file is missing.
void InstallLanguage(QCoreApplication& app, Language language, const QString& exeDir);
