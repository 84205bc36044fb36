// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_translation.h"

#include "app/program_home.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>

namespace {

bool InstallFrom(QCoreApplication& app, const QString& name, const QStringList& dirs) {
    for (const QString& dir : dirs) {
        auto* translator = new QTranslator(&app);
        if (translator->load(name, dir))
            return QCoreApplication::installTranslator(translator);
        delete translator;
    }
    return false;
}

} // namespace

bool InstallQtRussian(QCoreApplication& app) {
    return InstallFrom(app, QStringLiteral("qtbase_ru"),
                       {QLibraryInfo::path(QLibraryInfo::TranslationsPath)});
}

QStringList TranslationDirs(const QString& exeDir) {
    QStringList dirs = {exeDir};
    const QString installed = InstalledDataDir(exeDir);
    if (!installed.isEmpty())
        dirs << installed + QStringLiteral("translations");
    return dirs;
}

bool InstallEnglish(QCoreApplication& app, const QStringList& dirs) {
    return InstallFrom(app, QStringLiteral("orbivist_en"), dirs);
}

void InstallLanguage(QCoreApplication& app, Language language, const QString& exeDir) {
    if (language == Language::Russian) {
        InstallQtRussian(app);
        return;
    }
    if (!InstallEnglish(app, TranslationDirs(exeDir)))
        std::fprintf(stderr, "orbivist: orbivist_en.qm not found; the texts stay Russian\n");
}
