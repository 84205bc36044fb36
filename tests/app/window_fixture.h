#pragma once
// A main window on a scratch program directory, with the network replaced by a script.
#include "app/program_home.h"
#include "app/status_panels.h"
#include "app/tform1.h"
#include "app/tform2.h"
#include "app/tform3.h"
#include "app/window_dial_reporter.h"
#include "fetch/default_source.h"
#include "tests/support/fake_dial_up.h"
#include "tests/support/fake_http_get.h"
#include "tests/support/temp_dir.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

class WindowTest : public ::testing::Test {
protected:
    // Builds the window, reading the files in home, and does not show it yet.
    TForm1& Build() {
        form = std::make_unique<TForm1>(ProgramHome{home.path()});
        form->UseHttpForTesting(http);
        form3 = std::make_unique<TForm3>(form->cancelRequested);
        reporter = std::make_unique<WindowDialReporter>(*form3, form.get());
        // Not the window's child here, so that a test may drop the window on its own.
        form2 = std::make_unique<TForm2>(dialUp, *reporter);
        form->AttachDialogs(form2.get(), form3.get(), &dialUp, reporter.get());
        return *form;
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
        form2.reset();
        reporter.reset();
        form3.reset();
        form.reset();
    }
    QString Panel(int i) const { return form->StatusB->text(i); }
    static QString Url(const QString& path) { return DefaultSourcePrefix() + path; }
    static ViewUrls View(const QString& a, const QString& b, const QString& c, const QString& d) {
        return {Url(a), Url(b), Url(c), Url(d)};
    }
    QStringList Paths() const {
        QStringList paths;
        for (const QString& url : form->viewUrls)
            paths << url.mid(form->prefixLength);
        return paths;
    }

    TempDir home;
    FakeHttpGet http;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TForm3> form3;
    FakeDialUp dialUp;
    std::unique_ptr<WindowDialReporter> reporter;
    std::unique_ptr<TForm2> form2;
};
