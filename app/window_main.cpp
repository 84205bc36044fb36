// SPDX-License-Identifier: GPL-3.0-or-later
// The window plugin's entry: the main window, then its progress and scheduling dialogs.
#include "app/command_line.h"
#include "app/demo_server_launch.h"
#include "app/job_dialogs.h"
#include "app/program_home.h"
#include "app/qt_translation.h"
#include "app/tform1.h"
#include "app/window_plugin.h"
#include "batch/dialup/pppd_dial_up.h"
#include "loader/source_services.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLocale>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {

int RunWindowPlugin(int argc, char** argv) {
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
        PppdDialUp dialUp;
        JobDialogs dialogs(cancel, dialUp, &form1, &form1);
        form1.AttachDialogs(&dialogs, &dialUp, &cancel);
        form1.show();
        status = QApplication::exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Orbivist"), QString::fromUtf8(e.what()));
    }
    return status;
}

const WindowPlugin kPlugin{kOrbivistVersion, RunWindowPlugin};

} // namespace

extern "C" __attribute__((visibility("default"))) const WindowPlugin* orbivist_window_plugin() {
    return &kPlugin;
}
