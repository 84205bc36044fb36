// SPDX-License-Identifier: GPL-3.0-or-later
// The pppd backend against a shell-script stand-in for pppd that records what it was given,
// and once against the real pppd where it can run.
#include "batch/dialup/dial_up.h"
#include "batch/dialup/phone_book.h"
#include "batch/dialup/pppd_dial_up.h"
#include "batch/dialup/pppd_exit_texts.h"
#include "batch/dialup/pppd_processes.h"
#include "os/stop_signals.h"
#include "tests/support/fake_dial_up.h"
#include "tests/support/temp_dir.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

namespace {

const QString kCaption = QStringLiteral("ошибки");

// What the stand-in does once it has recorded its arguments: `detach` leaves a process
// behind with a pid file of the link name, as pppd does once the link is up;
// `detach_stubborn` leaves one that ignores SIGTERM from before it exists.
const char kStandIn[] = R"(#!/bin/sh
rec='%1'
run='%2'
printf '%s\n' "$@" > "$rec/argv"
link=$$
prev=
for a in "$@"; do
    case $prev in
        linkname) link=$a ;;
        file) cat "$a" >> "$rec/options"; echo "$(stat -c %a "$a") $a" >> "$rec/modes" ;;
    esac
    prev=$a
done
detach() { ( while :; do sleep 0.05; done ) & echo $! > "$run/ppp-$link.pid"; }
detach_stubborn() { trap '' TERM; detach; }
%3
)";

class PppdStandInTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(home.file("peers")));
        ASSERT_TRUE(QDir().mkpath(home.file("run")));
        ASSERT_TRUE(QDir().mkpath(home.file("record")));
    }
    // Every process the stand-in left behind goes, SIGTERM or not.
    void TearDown() override {
        for (const ProcessId pid : RunningFromPidFiles(home.file("run"), "pppd"))
            kill(static_cast<pid_t>(pid), SIGKILL);
    }

    PppdPaths Paths() const { return {home.file("peers"), home.file("run"), home.file("pppd")}; }
    void AddPeer(const QString& name) { home.write("peers/" + name, "# a peer for the tests\n"); }
    void WriteStandIn(const char* behaviour) {
        const QString script = QString::fromUtf8(kStandIn).arg(
            home.file("record"), home.file("run"), QString::fromUtf8(behaviour));
        home.write("pppd", script.toUtf8());
        QFile::setPermissions(home.file("pppd"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QStringList Argv() const {
        return QString::fromUtf8(home.read("record/argv")).split('\n', Qt::SkipEmptyParts);
    }
    QString LinkPidFile() const {
        const QStringList argv = Argv();
        const qsizetype at = argv.indexOf(QStringLiteral("linkname"));
        return at < 0 ? QString() : "run/ppp-" + argv.value(at + 1) + ".pid";
    }
    // A process sent SIGTERM takes a moment to end.
    static bool Ends(ProcessId pid) {
        for (int i = 0; i < 500 && IsRunningAs(pid, "pppd"); ++i)
            QThread::msleep(10);
        return !IsRunningAs(pid, "pppd");
    }

    TempDir home;
    FakeDialReporter reporter;
};

TEST(PppdArguments, PeerFromItsDirectoryAndNoPasswordOnTheCommandLine) {
    const PppdCall call{QStringLiteral("isp"), QStringLiteral("ivan"), QStringLiteral("orb-1"),
                        QStringLiteral("/tmp/secrets")};
    EXPECT_EQ(PppdArguments(QStringLiteral("/etc/ppp/peers"), call),
              QStringList({"call", "isp", "updetach", "user", "ivan", "linkname", "orb-1", "file",
                           "/tmp/secrets"}));
    EXPECT_EQ(PppdArguments(QStringLiteral("/home/u/peers"), {QStringLiteral("isp"), {}, {}, {}}),
              QStringList({"file", "/home/u/peers/isp", "updetach"}));
}

TEST(PppdArguments, PasswordOptionQuotesEveryByteThatCouldEndOrBendTheWord) {
    EXPECT_EQ(PppdPasswordOption(QStringLiteral("s3Cret")), QByteArray("password s3Cret\n"));
    EXPECT_EQ(PppdPasswordOption(QStringLiteral("a b\"#\\")),
              QByteArray("password a\\040b\\042\\043\\134\n"));
    EXPECT_EQ(PppdPasswordOption(QStringLiteral("я")), QByteArray("password \\321\\217\n"));
}

TEST(PppdErrorText, DocumentedStatusesHaveTheirOwnTextOthersAGeneralOne) {
    EXPECT_EQ(PppdErrorText(7), QStringLiteral("Не удалось открыть последовательный порт"));
    EXPECT_EQ(PppdErrorText(19),
              QStringLiteral("Не удалось пройти проверку подлинности на удалённой системе"));
    EXPECT_EQ(PppdErrorText(77), QStringLiteral("Неизвестная ошибка подключения (код 77)"));
    EXPECT_NE(PppdErrorText(kPppdNoSuchPeer), PppdErrorText(77));
}

TEST_F(PppdStandInTest, PhoneBookIsThePeerFilesInOrder) {
    PppdDialUp service(Paths());
    EXPECT_TRUE(PhoneBookNames(service).empty());
    AddPeer("work");
    AddPeer("home");
    AddPeer("isp");
    ASSERT_TRUE(QDir().mkpath(home.file("peers/not-a-peer")));
    EXPECT_EQ(PhoneBookNames(service), (std::vector<QString>{"home", "isp", "work"}));
    PppdDialUp unconfigured({home.file("missing"), home.file("run"), home.file("pppd")});
    EXPECT_TRUE(PhoneBookNames(unconfigured).empty());
}

TEST_F(PppdStandInTest, FailedDialShowsItsTextAndThePasswordStaysOffTheCommandLine) {
    AddPeer("isp");
    WriteStandIn("exit 8");
    PppdDialUp service(Paths(), true);
    DialConnection(service, reporter, "isp", "ivan", "s3cret");

    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].first, kCaption);
    EXPECT_EQ(reporter.messages[0].second, PppdErrorText(8));
    const QStringList argv = Argv();
    EXPECT_EQ(argv.mid(0, 6), QStringList({"file", home.file("peers/isp"), "updetach", "user",
                                           "ivan", "linkname"}));
    EXPECT_FALSE(argv.join(' ').contains("s3cret"));
    // The password reached pppd through a file only its owner could read, gone afterwards.
    EXPECT_TRUE(home.read("record/options").contains("password s3cret\n"));
    const QString secrets = argv.back();
    EXPECT_TRUE(home.read("record/modes").contains("600 " + secrets.toUtf8()));
    EXPECT_FALSE(QFile::exists(secrets));
}

TEST_F(PppdStandInTest, AnEntryOutsideThePhoneBookNeverReachesPppd) {
    AddPeer("isp");
    WriteStandIn("exit 0");
    PppdDialUp service(Paths(), true);
    DialConnection(service, reporter, "../pppd", {}, {});
    DialConnection(service, reporter, QStringLiteral("нет подключений"), {}, {});
    ASSERT_EQ(reporter.messages.size(), 2u);
    EXPECT_EQ(reporter.messages[1].second, PppdErrorText(kPppdNoSuchPeer));
    EXPECT_FALSE(home.exists("record/argv"));
}

TEST_F(PppdStandInTest, LinkLeftUpAfterAFailureIsHungUp) {
    AddPeer("isp");
    WriteStandIn("detach; exit 7");
    PppdDialUp service(Paths(), true);
    DialConnection(service, reporter, "isp", {}, {});
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].second, PppdErrorText(7));
    const std::optional<ProcessId> pid = PidFromFile(home.file(LinkPidFile()));
    ASSERT_TRUE(pid);
    EXPECT_TRUE(Ends(*pid));
}

TEST_F(PppdStandInTest, HangUpEndsEveryConnection) {
    AddPeer("isp");
    WriteStandIn("detach; exit 0");
    PppdDialUp service(Paths(), true);
    ConnectionHandle first = 0;
    ConnectionHandle second = 0;
    ASSERT_EQ(service.Dial({"isp", {}, {}}, first), 0u);
    ASSERT_EQ(service.Dial({"isp", {}, {}}, second), 0u);
    ASSERT_NE(first, 0);
    ASSERT_NE(second, first);
    std::vector<ConnectionHandle> listed = service.EnumConnections(kConnectionListRoom);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed,
              (std::vector<ConnectionHandle>{std::min(first, second), std::max(first, second)}));

    HangUpAllConnections(service, reporter);
    EXPECT_TRUE(Ends(first));
    EXPECT_TRUE(Ends(second));
    EXPECT_TRUE(service.EnumConnections(kConnectionListRoom).empty());
}

TEST_F(PppdStandInTest, HangUpGivesUpOnAConnectionThatIgnoresIt) {
    AddPeer("isp");
    WriteStandIn("detach_stubborn; exit 0");
    PppdDialUp service(Paths(), true);
    ConnectionHandle handle = 0;
    ASSERT_EQ(service.Dial({"isp", {}, {}}, handle), 0u);
    EXPECT_FALSE(HangUpAllConnections(service, reporter, {3, std::chrono::milliseconds(20)}));
    EXPECT_TRUE(IsRunningAs(handle, "pppd")); // still up, and the program goes on
    ASSERT_EQ(reporter.messages.size(), 1u);  // but it is not passed off as hung up
    EXPECT_EQ(reporter.messages[0].first, kCaption);
}

// A command blocks SIGINT and SIGTERM to read them at its checks and ignores SIGXFSZ; pppd
// must inherit neither, nor the password in the environment.
TEST_F(PppdStandInTest, PppdStartsWithCleanSignalsAndNoPasswordInItsEnvironment) {
    AddPeer("isp");
    // Read by the shell itself: a child's view would show its own mask, not the one pppd got.
    WriteStandIn(R"(while read -r l; do case $l in SigBlk*|SigIgn*) echo "$l";; esac
done < /proc/$$/status > "$rec/signals"
env > "$rec/env"; detach; exit 0)");
    qputenv("ORBIVIST_DIAL_PASSWORD", "s3cret");
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    const auto restore = qScopeGuard([previous] {
        qunsetenv("ORBIVIST_DIAL_PASSWORD");
        std::signal(SIGXFSZ, previous);
    });
    StopSignals blocked;
    PppdDialUp service(Paths(), true);
    DialConnection(service, reporter, "isp", {}, "s3cret");
    EXPECT_TRUE(reporter.messages.empty());
    // The C library keeps its own signals (32 and up) as it likes; ours are below.
    for (const QByteArray& line : home.read("record/signals").split('\n')) {
        if (!line.isEmpty()) {
            EXPECT_EQ(line.split('\t').last().toULongLong(nullptr, 16) & 0x7fffffffu, 0u)
                << line.toStdString();
        }
    }
    EXPECT_EQ(home.read("record/signals").count('\n'), 2);
    EXPECT_FALSE(home.read("record/env").contains("s3cret"));
    EXPECT_TRUE(HangUpAllConnections(service, reporter, {20, std::chrono::milliseconds(50)}));
}

TEST_F(PppdStandInTest, ACancelEndsTheDialAndRemovesThePasswordFile) {
    AddPeer("isp");
    WriteStandIn("sleep 30");
    PppdDialUp service(Paths(), true);
    QElapsedTimer dialling;
    dialling.start();
    service.SetStopCheck([&dialling] { return dialling.elapsed() > 300; });
    ConnectionHandle handle = 0;
    EXPECT_EQ(service.Dial({"isp", {}, "s3cret"}, handle), kPppdCancelled);
    EXPECT_LT(dialling.elapsed(), 10000);
    EXPECT_FALSE(QFile::exists(Argv().back()));
}

TEST_F(PppdStandInTest, StalePidFilesNameNoConnection) {
    // A pid file whose number now belongs to another program (here, this test) or to nobody.
    home.write("run/ppp0.pid", QByteArray::number(QCoreApplication::applicationPid()) + "\n");
    home.write("run/ppp1.pid", "2147483000\n");
    home.write("run/ppp2.pid", "garbage\n");
    PppdDialUp service(Paths());
    EXPECT_TRUE(service.EnumConnections(kConnectionListRoom).empty());
    service.HangUp(QCoreApplication::applicationPid()); // would end this test if it were sent
}

TEST(RealPppd, APeerWithoutItsDeviceFailsWithItsErrorText) {
    const PppdPaths system;
    QProcess version;
    version.start(system.pppd, {QStringLiteral("--version")});
    if (!version.waitForFinished(10000) || version.exitStatus() != QProcess::NormalExit ||
        version.exitCode() != 0)
        GTEST_SKIP() << "pppd is not installed here or may not be run by this user";

    TempDir home;
    ASSERT_TRUE(QDir().mkpath(home.file("peers")));
    home.write("peers/nodevice", "/dev/orbivist-no-such-tty\n115200\n");
    PppdDialUp service({home.file("peers"), home.path(), system.pppd});
    FakeDialReporter reporter;
    DialConnection(service, reporter, "nodevice", "ivan", "s3cret");
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].first, kCaption);
    EXPECT_FALSE(reporter.messages[0].second.startsWith(QStringLiteral("Неизвестная")))
        << reporter.messages[0].second.toStdString();
}

} // namespace
