// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A main window on a scratch program directory. Tests that fetch tiles point it, through its
// settings file, at a loopback server that answers as scripted.
#include "app/job_dialogs.h"
#include "app/program_home.h"
#include "app/status_panels.h"
#include "app/tform1.h"
#include "store/settings_file.h"
#include "store/settings_layout.h"
#include "store/settings_schema.h"
#include "tests/support/fake_dial_up.h"
#include "tests/support/loopback_tiles.h"
#include "tests/support/temp_dir.h"
#include "tiles/default_source.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

class WindowTest : public ::testing::Test {
protected:
    // Builds the window, reading the files in home, and does not show it yet.
    TForm1& Build() {
        form = std::make_unique<TForm1>(ProgramHome{home.path()});
        // The schedule dialog is not the window's child here, so that a test may drop the
        // window on its own.
        dialogs = std::make_unique<JobDialogs>(cancel, dialUp, form.get(), nullptr);
        form->AttachDialogs(dialogs.get(), &dialUp, &cancel);
        return *form;
    }
    // Writes a settings file with the level-1 view of the loopback server and the design
    // values, as a user who typed the server's address would have saved it.
    void ServeFromLoopback() { SaveViewOn(http.Prefix()); }
    // The same for the server of another request prefix.
    void SaveViewOn(const QString& requestPrefix) {
        using namespace SettingsLine;
        prefix = requestPrefix;
        SettingsLines lines = SettingsLinesOf(DesignSettings());
        const QString quad = QStringLiteral("qrst");
        for (int slot = 0; slot < 4; ++slot)
            lines[ViewTopLeft + slot] = prefix + quad[slot];
        lines[PrefixLength] = QString::number(prefix.size());
        lines[SearchZoom] = "0";
        lines[RetryInterval] = "1";
        ASSERT_TRUE(SaveSettings(home.file("ORB.ini"), lines));
    }
    // Builds and shows the window, and waits until the first view has loaded.
    TForm1& Open() {
        Build().show();
        WaitForFirstView();
        return *form;
    }
    // The first view loads from the event loop once the window is on screen; every complete
    // refresh writes the download count over the status panel's layout text.
    void WaitForFirstView() {
        EXPECT_TRUE(QTest::qWaitFor([this] { return Panel(3) != "закачано"; }, 10000));
    }
    // Closes the window as the window manager would, which saves the settings.
    void Close() {
        form->close();
        dialogs.reset();
        form.reset();
    }
    QString Panel(int i) const { return form->StatusB->text(i); }
    // The job dialogs, built by the first look as by the first job.
    TForm3& Progress() { return form->ProgressDialog(); }
    TForm2& Schedule() { return dialogs->Schedule(); }
    QString Url(const QString& path) const { return prefix + path; }
    ViewUrls View(const QString& a, const QString& b, const QString& c, const QString& d) const {
        return {Url(a), Url(b), Url(c), Url(d)};
    }
    QStringList Paths() const {
        QStringList paths;
        for (const QString& url : form->viewUrls)
            paths << url.mid(form->prefixLength);
        return paths;
    }

    TempDir home;
    LoopbackTiles http;
    QString prefix = DefaultSourcePrefix();
    std::unique_ptr<TForm1> form;
    CancelFlag cancel;
    FakeDialUp dialUp;
    std::unique_ptr<JobDialogs> dialogs;
};
