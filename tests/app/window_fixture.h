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

#include <gtest/gtest.h>
#include <memory>

class WindowTest : public ::testing::Test {
protected:
    // Builds the window (reading the files in home) and shows it, which loads the first view.
    TForm1& Open() {
        form = std::make_unique<TForm1>(ProgramHome{home.path()});
        form->UseHttpForTesting(http);
        form3 = std::make_unique<TForm3>(form->cancelRequested);
        reporter = std::make_unique<WindowDialReporter>(*form3, form.get());
        form2 = std::make_unique<TForm2>(dialUp, *reporter, form.get());
        form->AttachDialogs(form2.get(), form3.get(), &dialUp, reporter.get());
        form->show();
        return *form;
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
