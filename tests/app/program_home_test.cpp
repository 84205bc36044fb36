// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program keeps its files: beside the executable in a build folder, in the user's
// data folder once installed, or where --home says.
#include "app/program_home.h"
#include "tests/support/temp_dir.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

TEST(ProgramHome, FollowsWhereTheProgramRuns) {
    struct Case {
        const char* exeDir;     // under the scratch directory
        bool installed;         // <exeDir>/../share/orbivist/ReadMe.txt exists
        const char* homeOption; // under the scratch directory; empty: not given
        const char* xdg;        // XDG_DATA_HOME; "/x" is <scratch>/x, "" unset
        const char* home;       // expected, under the scratch directory
    };
    const Case cases[] = {
        {"build", false, "", "/xdg", "build/"},
        {"tools/bin", false, "", "/xdg", "tools/bin/"}, // a bin folder of no installation
        {"usr/bin", true, "", "/xdg", "xdg/orbivist/"},
        {"usr/bin", true, "", "", "user/.local/share/orbivist/"},
        {"usr/bin", true, "", "relative", "user/.local/share/orbivist/"},
        {"usr/bin", true, "maps", "/xdg", "maps/"},
    };
    const QByteArray home = qgetenv("HOME");
    const QByteArray xdg = qgetenv("XDG_DATA_HOME");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.exeDir) + " " + c.homeOption + " " + c.xdg);
        TempDir tmp;
        ASSERT_TRUE(QDir().mkpath(tmp.file(c.exeDir)));
        if (c.installed) {
            ASSERT_TRUE(QDir().mkpath(tmp.file("usr/share/orbivist")));
            tmp.write("usr/share/orbivist/ReadMe.txt", "guide");
        }
        qputenv("HOME", tmp.file("user").toUtf8());
        qputenv("XDG_DATA_HOME",
                c.xdg[0] == '/' ? tmp.file(c.xdg + 1).toUtf8() : QByteArray(c.xdg));

        const QString option = *c.homeOption ? tmp.file(c.homeOption) : QString();
        const ProgramHome chosen = OpenProgramHome(option, tmp.file(c.exeDir));

        EXPECT_EQ(chosen.dir, tmp.file(c.home));
        EXPECT_EQ(chosen.ReadMe(), c.installed ? tmp.file("usr/share/orbivist/ReadMe.txt")
                                               : tmp.file(c.home) + "ReadMe.txt");
        // Only the user's data folder is made, with its cache; a build folder stays as it is.
        EXPECT_EQ(QFileInfo(chosen.DefaultCacheRoot()).isDir(), c.installed && !*c.homeOption);
    }
    qputenv("HOME", home);
    qputenv("XDG_DATA_HOME", xdg);
}
