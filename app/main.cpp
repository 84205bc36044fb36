// SPDX-License-Identifier: GPL-3.0-or-later
// Entry point: the batch commands run headless; otherwise the main window, then its progress
// and scheduling dialogs.
#include "app/command_line.h"
#include "app/demo_server_launch.h"
#include "app/headless_main.h"
#include "app/program_home.h"
#include "app/qt_translation.h"
#include "app/tform1.h"
#include "app/tform2.h"
#include "app/tform3.h"
#include "app/window_dial_reporter.h"
#include "batch/dialup/pppd_dial_up.h"
#include "loader/source_services.h"
#include "orbivist_version.h"
#include "tiles/default_source.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLocale>
#include <QMessageBox>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
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
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orbivist"));

    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Orbivist: satellite imagery viewer with an offline tile cache."));
    const QCommandLineOption home(QStringLiteral("home"),
                                  QStringLiteral("Program directory holding ORB.ini, "
                                                 "Favorites.dat and the cache."),
                                  QStringLiteral("DIR"));
    options.addOption(home);
    const QCommandLineOption source(QStringLiteral("source"),
                                    QStringLiteral("Imagery source to show, by name."),
                                    QStringLiteral("NAME"));
    options.addOption(source);
    QStringList qtArguments = QApplication::arguments();
    const LanguageArgument language = TakeLanguageArgument(qtArguments);
    options.process(qtArguments);
    InstallLanguage(app, ChooseLanguage(language.language, QLocale::system()),
                    QApplication::applicationDirPath());

    const ProgramHome programHome =
        OpenProgramHome(options.value(home), QApplication::applicationDirPath());

    int status = EXIT_FAILURE;
    try {
        TForm1 form1(programHome);
        if (options.isSet(source)) {
            const auto found = FindSource(form1.Sources(), options.value(source));
            if (const QString* reason = std::get_if<QString>(&found)) {
                std::fprintf(stderr, "orbivist: %s\n", reason->toUtf8().constData());
                return EXIT_FAILURE;
            }
            form1.ChooseSource(options.value(source));
        }
        // Out of the box the view reads from the bundled demo server: started here when
        // nothing answers on its port, and stopped when the window has closed. The window is
        // shown while the server gets ready; its first view waits for it, the window painted
        // meanwhile.
        DemoServerLaunch demoServer(
            form1.CurrentSource(), form1.viewUrls[0].left(form1.prefixLength),
            QApplication::applicationDirPath(), DemoServerLaunch::Wait::Later);
        form1.BeforeFirstView([&demoServer] {
            demoServer.AwaitListening(
                [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
        });
        CancelFlag cancel;
        TForm3 form3(cancel);
        PppdDialUp dialUp;
        WindowDialReporter dialReporter(form3, &form1);
        TForm2 form2(dialUp, dialReporter, &form1);
        form1.AttachDialogs(&form2, &form3, &dialUp, &dialReporter, &cancel);
        form1.show();
        status = QApplication::exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Orbivist"), QString::fromUtf8(e.what()));
    }
    return status;
}
