// Where the program keeps its files: beside the executable in a build folder, in the user's
// data folder once installed, or where --home says.
#include "app/program_home.h"
#include "tests/support/temp_dir.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// Sets an environment variable for one scope (unset when value is null).
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const QString& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value.toUtf8());
    }
    ~EnvironmentVariable() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

struct Case {
    const char* what;
    const char* exeDir;     // under the scratch directory
    bool installedData;     // <exeDir>/../share/orbivist/ReadMe.txt exists
    const char* homeOption; // under the scratch directory; empty: not given
    const char* xdg;        // XDG_DATA_HOME; null: unset; "/x": <scratch>/x
    const char* home;       // expected, under the scratch directory
};

} // namespace

TEST(ProgramHome, FollowsWhereTheProgramRuns) {
    const Case cases[] = {
        {"build folder", "build", false, "", "/xdg", "build/"},
        {"a bin folder of no installation", "tools/bin", false, "", "/xdg", "tools/bin/"},
        {"installed", "usr/bin", true, "", "/xdg", "xdg/orbivist/"},
        {"installed, no XDG_DATA_HOME", "usr/bin", true, "", nullptr,
         "user/.local/share/orbivist/"},
        {"installed, relative XDG_DATA_HOME", "usr/bin", true, "", "xdg",
         "user/.local/share/orbivist/"},
        {"installed with --home", "usr/bin", true, "maps", "/xdg", "maps/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir tmp;
        ASSERT_TRUE(QDir().mkpath(tmp.file(c.exeDir)));
        if (c.installedData) {
            ASSERT_TRUE(QDir().mkpath(tmp.file("usr/share/orbivist")));
            tmp.write("usr/share/orbivist/ReadMe.txt", "guide");
        }
        const EnvironmentVariable home("HOME", tmp.file("user"));
        const QString xdg = !c.xdg ? QString() : c.xdg[0] == '/' ? tmp.file(c.xdg + 1) : c.xdg;
        const EnvironmentVariable xdgDataHome("XDG_DATA_HOME", xdg);

        const QString option = *c.homeOption ? tmp.file(c.homeOption) : QString();
        const ProgramHome chosen = OpenProgramHome(option, tmp.file(c.exeDir));

        EXPECT_EQ(chosen.dir, tmp.file(c.home));
        EXPECT_EQ(chosen.ReadMe(), c.installedData ? tmp.file("usr/share/orbivist/ReadMe.txt")
                                                   : tmp.file(c.home) + "ReadMe.txt");
        // Only the user's data folder is made, with its cache; a build folder stays as it is.
        EXPECT_EQ(QFileInfo(chosen.DefaultCacheRoot()).isDir(), c.installedData && !*c.homeOption);
    }
}
