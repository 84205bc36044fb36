// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/headless_main.h"

#include "app/batch_command.h"
#include "app/command_line.h"
#include "app/language.h"
#include "app/program_home.h"
#include "app/qt_translation.h"
#include "image/text_library.h"
#include "orbivist_version.h"
#include "os/stop_signals.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

namespace {

// Qt's own notes about the offscreen platform's environment would only clutter the one-line
// reasons and the progress line that scripts read; real failures still get through.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toUtf8().constData());
}

} // namespace

int RunHeadless(QStringList arguments) {
    if (arguments.contains(QStringLiteral("--version"))) {
        std::printf("orbivist %s\n", kOrbivistVersion);
        return 0;
    }
    // Installed, the program's files live in the user's data folder unless --home says where;
    // run from its build folder, --home stays required.
    // Asked of the kernel: no application object exists yet.
    const QString exeDir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    if (!arguments.contains(QStringLiteral("--home")) && !InstalledDataDir(exeDir).isEmpty())
        arguments << QStringLiteral("--home") << OpenProgramHome({}, exeDir).dir;
    const LanguageArgument language = TakeLanguageArgument(arguments);
    qInstallMessageHandler(QuietQtMessages);
    // Blocked before the application starts any thread, so that every thread inherits it.
    StopSignals cancel;
    // Qt is given none of the user's arguments: they are ours, and a Qt option among them
    // (-platform xcb) would end the process before any reason could be given.
    char program[] = "orbivist";
    char platformOption[] = "-platform";
    char offscreen[] = "offscreen";
    char* qtArgs[] = {program, platformOption, offscreen, nullptr};
    int qtArgc = 1;
    // No platform plugin, screen or font set-up is loaded unless a job may draw text.
    std::optional<QCoreApplication> bare(std::in_place, qtArgc, qtArgs);
    std::unique_ptr<QCoreApplication> drawing;
    const auto start = [&](QCoreApplication& app) {
        QCoreApplication::setApplicationName(QStringLiteral("Orbivist"));
        InstallLanguage(app, ChooseLanguage(language.language, QLocale::system()), exeDir);
    };
    // Before the arguments are read, so that a usage error is in the run's language too.
    start(*bare);
    if (language.badValue) {
        std::fprintf(stderr, "orbivist: %s\n",
                     BadLanguageReason(*language.badValue).toUtf8().constData());
        return 1;
    }
    const BatchCommand command = ParseBatchCommand(arguments);
    if (const auto* help = std::get_if<HelpRequest>(&command)) {
        std::printf("%s", UsageText(help->command).toUtf8().constData());
        return 0;
    }

    // The stand-in for a tile a stitch could not get carries text, written into its picture;
    // text takes a GUI application, on the offscreen platform: no display. It comes from the
    // text plugin, so Qt Gui is loaded only now, and replaces the bare one before the job,
    // which holds nothing of it yet. Without the plugin the stand-in stays plain grey.
    const auto prepareText = [&] {
        if (drawing || TextLibrary() == nullptr)
            return;
        bare.reset();
        qtArgc = 3;
        drawing = StartTextApplication(qtArgc, qtArgs);
        start(*drawing);
    };
    const int status = RunBatchCommand(command, cancel, stderr, prepareText);
    // A Ctrl+C after the job's last check must not replace the status it ended with.
    cancel.IgnoreFromNowOn();
    // Everything the job wrote is complete and in place by now. The application's teardown
    // would only cost time: Qt's font database, torn down with it, loads the whole fontconfig
    // set-up even when no text was ever drawn, a good part of a short job's run.
    std::fflush(nullptr);
    std::_Exit(status);
}
