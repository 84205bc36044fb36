// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/rx_slider.h"
#include "store/favorites.h"
#include "store/settings_schema.h"
#include "tests/app/window_fixture.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QStringEncoder>
#include <QTest>
#include <QTimer>

namespace {

QByteArray Cp1251Lines(const QStringList& lines) {
    QStringEncoder encode("windows-1251");
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += encode(line) + QByteArray("\r\n");
    return bytes;
}

// A settings file as the program writes it, with every value off its default.
QStringList SampleSettings() {
    const QString p = DefaultSourcePrefix();
    return {p + "qs",     p + "rt",
            p + "sq",     p + "tr",
            "c",          "-",
            "-",          "t",
            "p",          "прокси.local",
            "3128",       "пользователь",
            "пароль",     QString::number(p.size()),
            "1",          "0",
            "-",          "9",
            "7",          "8",
            "55",         "12",
            "4",          "5",
            "6",          "30",
            "/tmp/cache", "c",
            "7"};
}

} // namespace

TEST_F(WindowTest, EveryControlSurvivesARestart) {
    home.write("ORB.ini", Cp1251Lines(SampleSettings()));
    TForm1& w = Open();
    EXPECT_EQ(Paths(), QStringList({"qs", "rt", "sq", "tr"}));
    EXPECT_TRUE(w.RadioButton1->isChecked());
    EXPECT_EQ(w.SpeedButton10->text(), "только кэш");
    EXPECT_TRUE(w.CheckBox1->isChecked());
    EXPECT_TRUE(w.CheckBox2->isChecked());
    EXPECT_EQ(w.IdHTTP1.proxy().server, "прокси.local");
    EXPECT_EQ(w.IdHTTP1.proxy().port, 3128);
    EXPECT_EQ(w.IdHTTP1.proxy().password, "пароль");
    EXPECT_EQ(w.SCB->currentIndex(), 1);
    EXPECT_EQ(w.DCB->currentIndex(), 0);
    EXPECT_FALSE(w.CheckBox3->isChecked());
    EXPECT_EQ(w.FCB->currentIndex(), 9);
    EXPECT_EQ(w.UpDown3->value(), 55);
    EXPECT_EQ(w.UpDown1->value(), 4);
    EXPECT_EQ(w.UpDown5->value(), 30);
    EXPECT_EQ(w.UpDown6->value(), 7);
    EXPECT_EQ(w.cacheRoot, "/tmp/cache/");
    EXPECT_TRUE(w.Edit16->isEnabled());
    Close();
    // Written back byte for byte.
    EXPECT_EQ(home.read("ORB.ini"), Cp1251Lines(SampleSettings()));
}

TEST_F(WindowTest, ShortSettingsFileKeepsWhatItHasButNotTheView) {
    QStringList lines = SampleSettings().mid(0, 20);
    home.write("ORB.ini", Cp1251Lines(lines));
    TForm1& w = Open();
    EXPECT_EQ(Paths(), QStringList({"q", "r", "s", "t"}));
    EXPECT_EQ(w.prefixLength, DefaultPrefixLength());
    EXPECT_TRUE(w.RadioButton1->isChecked()); // line 4 was there
    EXPECT_EQ(w.Edit2->text(), "8");          // line 19 was there
    EXPECT_EQ(w.UpDown3->value(), 100);       // line 20 was not
    EXPECT_EQ(w.cacheRoot, home.path() + "Cash/");
}

TEST_F(WindowTest, SettingsWithNoWorkModeSelectNone) {
    QStringList lines = SampleSettings();
    lines[4] = lines[5] = lines[6] = "-";
    home.write("ORB.ini", Cp1251Lines(lines));
    TForm1& w = Open();
    EXPECT_FALSE(w.RadioButton1->isChecked());
    EXPECT_FALSE(w.RadioButton2->isChecked());
    EXPECT_FALSE(w.RadioButton3->isChecked());
    EXPECT_EQ(w.CurrentWorkMode(), WorkMode::CacheAndInternet);
}

TEST_F(WindowTest, ZoomedInViewsAreSavedAndLoadedBack) {
    TForm1& w = Open();
    w.RxSlider1->setValue(20);
    w.RxSlider1Changed();
    w.ImageClick(0, Qt::LeftButton); // level 21
    const ViewUrls saved = w.viewUrls;
    Close();
    TForm1& again = Open();
    EXPECT_EQ(again.viewUrls, saved);
    EXPECT_EQ(again.Label6->text(), "21");
}

TEST_F(WindowTest, FavouritesAreSavedRecalledAndDeleted) {
    TForm1& w = Open();
    w.ComboBox1->setEditText("Дом");
    w.FCB->setCurrentIndex(11);
    w.SCB->setCurrentIndex(0);
    w.DCB->setCurrentIndex(1);
    w.Edit7->setText("55°45'");
    w.Edit10->setText("37°37'");
    w.ButtonSaveClick();
    const QString line = QString("Дом").leftJustified(20) + " 12 N" +
                         QString("55°45'").leftJustified(14) + " E" +
                         QString("37°37'").leftJustified(14);
    EXPECT_EQ(w.ComboBox1->itemText(0), line);
    EXPECT_EQ(w.ComboBox1->count(), 2); // the new entry above the design-time one
    const QByteArray file = home.read("Favorites.dat");
    EXPECT_EQ(file.left(57), QStringEncoder("windows-1251")(line) + QByteArray("\r\n"));

    // Recall it into cleared fields.
    w.FCB->setCurrentIndex(0);
    w.Edit7->clear();
    w.ComboBox1Select(0);
    EXPECT_EQ(w.FCB->currentIndex(), 11);
    EXPECT_EQ(w.Edit7->text(), "55°45'");
    EXPECT_DOUBLE_EQ(w.searchLatitude, 55.75);
    EXPECT_NEAR(w.searchLongitude, 37 + 37 / 60.0, 1e-12);

    // Typing into the box deselects: delete does nothing then.
    w.ComboBox1->lineEdit()->setText("x");
    emit w.ComboBox1->lineEdit()->textEdited("x");
    w.ButtonDelClick();
    EXPECT_EQ(w.ComboBox1->count(), 2);

    w.ComboBox1Select(1); // the design-time item: too short, changes nothing
    EXPECT_EQ(w.FCB->currentIndex(), 11);
    w.ButtonDelClick();
    w.ButtonDelClick();
    EXPECT_EQ(w.ComboBox1->count(), 0);
    EXPECT_EQ(w.ComboBox1->currentText(), "---Новое имя---");
    EXPECT_EQ(home.read("Favorites.dat"), QByteArray());
    Close();

    home.write("Favorites.dat", QStringEncoder("windows-1251")(line) + "\r\n");
    TForm1& again = Open();
    EXPECT_EQ(again.ComboBox1->count(), 1);
    EXPECT_EQ(again.ComboBox1->currentText(), "---Новое Имя---");
}

TEST_F(WindowTest, FavouriteBoxTakesOnlyStorableNamesAndShowsWholeEntries) {
    TForm1& w = Open();
    EXPECT_EQ(w.ComboBox1->currentIndex(), -1); // nothing selected at start
    QLineEdit* name = w.ComboBox1->lineEdit();
    name->clear();
    QTest::keyClicks(name, "abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(name->text(), "abcdefghijklmnopqrst");
    name->clear();
    name->insert(QString::fromUtf8("snow\u2603")); // no byte for it in the file
    EXPECT_EQ(name->text(), "");
    name->setText("Home");
    w.ButtonSaveClick();
    EXPECT_EQ(w.ComboBox1->currentText().size(), 55); // the selected entry, whole
    // Typing "Ho" is not completed to the saved entry.
    name->clear();
    QTest::keyClicks(name, "Ho");
    EXPECT_EQ(w.ComboBox1->currentText(), "Ho");
}

// Picks the only entry of a favourites file holding these coordinate texts, with the window
// active so that focus moves are real.
class FavouriteFocusTest : public WindowTest {
protected:
    TForm1& PickEntry(const QString& latitude, const QString& longitude) {
        const QString line = QString("Нигде").leftJustified(20) + " 3  N" +
                             latitude.leftJustified(14) + " E" + longitude.leftJustified(14);
        home.write("Favorites.dat", QStringEncoder("windows-1251")(line) + "\r\n");
        TForm1& w = Open();
        w.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        w.PageControl1->setCurrentWidget(w.TabSheet6);
        w.ComboBox1Select(0);
        return w;
    }
};

TEST_F(FavouriteFocusTest, OutOfRangeLatitudeReturnsTheFocus) {
    TForm1& w = PickEntry("91", "10");
    EXPECT_EQ(w.FCB->currentIndex(), 2);
    EXPECT_DOUBLE_EQ(w.searchLatitude, 91);
    EXPECT_TRUE(w.Edit7->hasFocus());
}

TEST_F(FavouriteFocusTest, BothFieldsOutOfRangeEndOnTheLongitude) {
    TForm1& w = PickEntry("91", "200"); // the fields must not pass the focus back and forth
    EXPECT_DOUBLE_EQ(w.searchLatitude, 91);
    EXPECT_DOUBLE_EQ(w.searchLongitude, 200);
    EXPECT_TRUE(w.Edit10->hasFocus());
}

namespace {

// Answers the next message box with OK and returns what it said, as "title: text".
class MessageBoxCatcher {
public:
    MessageBoxCatcher() { Arm(); }
    QString seen;

private:
    void Arm() {
        QTimer::singleShot(50, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                seen = box->windowTitle() + ": " + box->text();
                box->accept();
            } else {
                Arm();
            }
        });
    }
};

} // namespace

TEST_F(WindowTest, FailedWritesAreReportedAndLoseNothingInMemory) {
    QDir(home.path()).mkdir("Favorites.dat"); // a directory cannot be replaced by a file
    QDir(home.path()).mkdir("ORB.ini");
    TForm1& w = Open();
    {
        MessageBoxCatcher catcher;
        w.ComboBox1->setEditText("Дача");
        w.ButtonSaveClick();
        EXPECT_EQ(catcher.seen, "Сохранение невозможно: Запись файла Favorites.dat невозможна");
    }
    EXPECT_EQ(w.ComboBox1->count(), 2);
    EXPECT_TRUE(w.ComboBox1->itemText(0).startsWith("Дача"));
    {
        MessageBoxCatcher catcher;
        Close();
        EXPECT_EQ(catcher.seen, "Сохранение невозможно: Запись файла ORB.ini невозможна");
    }
}

TEST_F(WindowTest, UnreadableFavouritesAreReportedAndNeverOverwritten) {
    const QByteArray tooMany(kMaxFavorites + 1, '\n');
    home.write("Favorites.dat", tooMany);
    {
        MessageBoxCatcher catcher;
        Open();
        EXPECT_EQ(catcher.seen, "ошибки: Файл Favorites.dat не удалось прочитать; до выхода из "
                                "программы он не будет перезаписан");
    }
    TForm1& w = *form;
    EXPECT_EQ(w.ComboBox1->count(), 1); // the design-time list
    {
        MessageBoxCatcher catcher;
        w.ComboBox1->setEditText("Дача");
        w.ButtonSaveClick();
        EXPECT_EQ(catcher.seen, "Сохранение невозможно: Запись файла Favorites.dat невозможна");
    }
    EXPECT_EQ(w.ComboBox1->count(), 2); // kept in memory all the same
    EXPECT_EQ(home.read("Favorites.dat"), tooMany);
}
