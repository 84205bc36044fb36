// SPDX-License-Identifier: GPL-3.0-or-later
// Entry point: the batch commands run headless; otherwise the window, from its plugin.
#include "app/command_line.h"
#include "app/headless_main.h"
#include "app/qt_translation.h"
#include "app/window_plugin.h"
#include "orbivist_version.h"
#include "tiles/default_source.h"

#include <QCoreApplication>
#include <QLocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>

int main(int argc, char** argv) {
    // Past a file-size limit the default action of SIGXFSZ ends the program; ignored, the
    // write fails with EFBIG instead and is reported like a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // The command word may follow the options every run takes (orbivist --lang en stitch ...).
    if (const std::optional<qsizetype> word = CommandWordIndex(arguments);
        word && IsBatchCommand({arguments[*word]})) {
        arguments.move(*word, 0);
        return RunHeadless(arguments);
    }
    QStringList viewerArguments = arguments;
    const LanguageArgument viewerLanguage = TakeLanguageArgument(viewerArguments);
    // Answered before the window's application object exists, which needs a display.
    for (const QString& arg : viewerArguments) {
        if (arg == QLatin1String("--version")) {
            std::printf("orbivist %s\n", kOrbivistVersion);
            return 0;
        }
        if (arg == QLatin1String("--default-port")) { // asked by run.sh before the server starts
            std::printf("%d\n", kDefaultTileServerPort);
            return 0;
        }
    }
    const bool help = viewerArguments.contains(QStringLiteral("--help")) ||
                      viewerArguments.contains(QStringLiteral("-h"));
    if (help || viewerLanguage.badValue || ViewerArgumentsRefusal(viewerArguments)) {
        // The text in the run's language: a bare application object holds the translation.
        QCoreApplication bare(argc, argv);
        InstallLanguage(bare, ChooseLanguage(viewerLanguage.language, QLocale::system()),
                        QCoreApplication::applicationDirPath());
        if (help && !viewerLanguage.badValue) {
            std::printf("%s", UsageText().toUtf8().constData());
            return 0;
        }
        const QString refusal = viewerLanguage.badValue
                                    ? BadLanguageReason(*viewerLanguage.badValue)
                                    : ViewerArgumentsRefusal(viewerArguments).value_or(QString());
        std::fprintf(stderr, "orbivist: %s\n", refusal.toUtf8().constData());
        return EXIT_FAILURE;
    }
    return RunWindow(argc, argv);
}
