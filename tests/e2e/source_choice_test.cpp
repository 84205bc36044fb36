// The executable on a template source served over HTTPS by nginx in front of the demo server,
// chosen with --source and through MySources.ini in the program directory.
#include "store/settings_schema.h"
#include "tests/e2e/demo_server_process.h"
#include "tests/e2e/tls_front.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    int status = -1;
    QString err;
};

Outcome Orbivist(const QStringList& arguments, const QString& caFile) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ORBIVIST_CA_FILE"), caFile);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(ORBIVIST_BUILD_DIR "/orbivist"), arguments);
    Outcome run;
    if (!process.waitForFinished(120000))
        process.kill();
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

class SourceChoice : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(server.Port(), 0);
        if (front.Port() == 0)
            GTEST_SKIP() << front.Problem().toStdString();
        // The design settings: the level-1 world of the demo prefix.
        ASSERT_TRUE(SaveSettings(home.file("ORB.ini"), SettingsLinesOf(DesignSettings())));
        ASSERT_TRUE(QDir().mkpath(home.file("Cash")));
        const QString url = front.Url(QStringLiteral("/{z}/{x}/{y}.jpg"));
        home.write("MySources.ini", QStringLiteral("[secure]\ntitle = Secure\nurl = %1\n"
                                                   "levels = 1-3\nconnections = 2\n"
                                                   "bulk-download = yes\n\n"
                                                   "[viewonly]\ntitle = View only\nurl = %1\n")
                                        .arg(url)
                                        .toUtf8());
    }

    TempDir dir;
    TempDir home;
    DemoServerProcess server{WriteQuadrantWorld(dir), {}, dir.file("log")};
    TlsFront front{dir, server.Port()};
};

} // namespace

TEST_F(SourceChoice, PrefillOverHttpsLandsInTheSourcesOwnFolder) {
    const Outcome run = Orbivist(
        {"prefill", "--home", home.path(), "--source", "SECURE", "--depth", "2"}, front.CaFile());
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QDir folder(home.file("Cash/source-secure"));
    EXPECT_EQ(folder.entryList(QDir::Files).size(), 16);
    EXPECT_TRUE(QDir(home.file("Cash")).entryList(QDir::Files).isEmpty()); // demo tiles: none
    // The tile the demo server makes for the same place, byte for byte: column 3, row 1.
    QFile tile(folder.filePath("rs.jpg"));
    ASSERT_TRUE(tile.open(QIODevice::ReadOnly));
    const RawReply served = RawGet(server.Port(), "/2/3/1.jpg");
    EXPECT_EQ(tile.readAll(), QByteArray::fromStdString(served.body));
}

TEST_F(SourceChoice, UnknownSourcesBulkAndLevelsAreRefusedBeforeAnyRequest) {
    struct Case {
        QStringList arguments;
        QString said;
    };
    const QString out = dir.file("a.jpg");
    const Case cases[] = {
        {{"prefill", "--source", "nowhere"},
         "unknown source \"nowhere\"; the sources are: demo, secure, viewonly"},
        {{"stitch", "--output", out, "--source", "nowhere"}, "the sources are: demo, secure"},
        {{"prefill", "--source", "viewonly"}, "«View only» не разрешает массовое скачивание"},
        {{"stitch", "--output", out, "--source", "viewonly"}, "не разрешает массовое скачивание"},
        {{"prefill", "--source", "secure", "--depth", "4"}, "Уровня 4 у источника «Secure» нет"},
    };
    for (const Case& c : cases) {
        const QStringList arguments =
            QStringList{c.arguments[0], "--home", home.path()} + c.arguments.mid(1);
        const Outcome run = Orbivist(arguments, front.CaFile());
        EXPECT_EQ(run.status, 1) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.said)) << run.err.toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    }
    EXPECT_TRUE(server.LogLines().filter(QStringLiteral("GET")).isEmpty());
    EXPECT_FALSE(QFile::exists(out));
}
