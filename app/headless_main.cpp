#include "app/headless_main.h"

#include "app/batch_command.h"
#include "app/cancel_signals.h"
#include "app/command_line.h"
#include "app/program_home.h"
#include "orbivist_version.h"

#include <QGuiApplication>
#include <cstdio>
#include <vector>

namespace {

// Qt's own notes about the offscreen platform's environment would only clutter the one-line
// reasons and the progress line that scripts read; real failures still get through.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toUtf8().constData());
}

} // namespace

int RunHeadless(int argc, char** argv) {
    for (int i = 2; i < argc; ++i) {
        if (qstrcmp(argv[i], "--help") == 0 || qstrcmp(argv[i], "-h") == 0) {
            std::printf("%s", UsageText().toUtf8().constData());
            return 0;
        }
        if (qstrcmp(argv[i], "--version") == 0) {
            std::printf("orbivist %s\n", kOrbivistVersion);
            return 0;
        }
    }
    qInstallMessageHandler(QuietQtMessages);
    // Blocked before the application starts any thread, so that every thread inherits it.
    CancelSignals cancel;
    // Placeholders are drawn with a font, which takes a GUI application; no display is needed.
    std::vector<char*> qtArgs(argv, argv + argc);
    char platformOption[] = "-platform";
    char offscreen[] = "offscreen";
    qtArgs.insert(qtArgs.begin() + 1, {platformOption, offscreen});
    int qtArgc = static_cast<int>(qtArgs.size());
    QGuiApplication app(qtArgc, qtArgs.data());
    QGuiApplication::setApplicationName(QStringLiteral("Orbivist"));

    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Installed, the program's files live in the user's data folder unless --home says where;
    // run from its build folder, --home stays required.
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (!arguments.contains(QStringLiteral("--home")) && !InstalledDataDir(exeDir).isEmpty())
        arguments << QStringLiteral("--home") << OpenProgramHome({}, exeDir).dir;
    return RunBatchCommand(ParseBatchCommand(arguments), cancel);
}
