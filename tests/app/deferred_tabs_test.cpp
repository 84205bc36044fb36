// SPDX-License-Identifier: GPL-3.0-or-later
// The tabs other than the view are built at their first need: until then the settings file's
// lines stand for their controls, with the same effects on the window and the same file
// written back.
#include "app/settings_controls.h"
#include "store/cp1251_lines.h"
#include "store/settings_layout.h"
#include "tests/app/window_fixture.h"
#include "tests/support/refusing_port.h"

#include <QDir>

namespace {

using SettingsLine::ModeCacheOnly;

// Started and closed without a tab other than the view ever shown: the window takes the mode,
// the proxy and the cache location from the file, and writes the file back as the controls
// would have left it.
TEST_F(WindowTest, TabsNeverShownBuildNothingAndChangeNoSetting) {
    struct Case {
        QStringList modes, modesWritten; // lines 4 to 6
        QString panel, modeButton;
        WorkMode mode;
    };
    const QStringList cacheOnly{"c", "-", "-"}, internet{"-", "i", "-"}, both{"-", "-", "ci"},
        none{"-", "-", "-"};
    const Case cases[] = {
        {cacheOnly, cacheOnly, "только кэш", "только кэш", WorkMode::CacheOnly},
        {internet, internet, "интернет", "интернет", WorkMode::InternetOnly},
        {both, both, "интернет и кэш", "кэш и интернет", WorkMode::CacheAndInternet},
        {{"c", "-", "ci"}, both, "кэш и интернет", "кэш и интернет", WorkMode::CacheAndInternet},
        {none, none, "интернет и кэш", "кэш", WorkMode::CacheAndInternet},
    };
    const RefusingPort proxy;
    const QString elsewhere = home.file("elsewhere");
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.modes.join(',').toStdString());
        using namespace SettingsLine;
        SettingsLines lines = SettingsLinesOf(DesignSettings());
        lines[UseProxy] = "p";
        lines[ProxyServer] = "127.0.0.1";
        lines[ProxyPort] = QString::number(proxy.Port());
        lines[CacheDirectory] = elsewhere;
        lines[UseCacheDirectory] = "c";
        lines[JpegQuality] = "500"; // clamped, as its spinner would
        QStringList file(lines.begin(), lines.end());
        for (int i = 0; i < 3; ++i)
            file[ModeCacheOnly + i] = c.modes[i];
        home.write("ORB.ini", Cp1251LinesBytes(file));
        TForm1& w = Open();
        for (QWidget* page : {w.TabSheet2, w.TabSheet3, w.TabSheet4, w.TabSheet5, w.TabSheet6})
            EXPECT_TRUE(page->findChildren<QWidget*>().isEmpty());
        EXPECT_EQ(Panel(4), c.panel);
        EXPECT_EQ(w.SpeedButton10->text(), c.modeButton);
        EXPECT_EQ(w.CurrentWorkMode(), c.mode);
        EXPECT_EQ(w.IdHTTP1.proxy().port, proxy.Port());
        EXPECT_EQ(w.cacheRoot, elsewhere + '/');
        Close();
        for (int i = 0; i < 3; ++i)
            file[ModeCacheOnly + i] = c.modesWritten[i];
        file[JpegQuality] = "100";
        EXPECT_EQ(home.read("ORB.ini"), Cp1251LinesBytes(file));
    }
}

} // namespace
