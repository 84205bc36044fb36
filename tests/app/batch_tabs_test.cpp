// The stitching and prefill tabs as the user meets them.
#include "app/tform2.h"
#include "app/tile_image.h"
#include "tests/app/window_fixture.h"
#include "tests/support/jpeg_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

namespace {

// Presses OK on each message box that comes up while it lives, keeping the last one's text.
class MessageBoxAnswerer {
public:
    MessageBoxAnswerer() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                text = box->windowTitle() + ": " + box->text();
                box->accept();
            }
        });
        timer_.start(20);
    }
    QString text;

private:
    QTimer timer_;
};

} // namespace

TEST_F(WindowTest, StitchEstimateFollowsBothFields) {
    TForm1& w = Open();
    EXPECT_EQ(w.Label3->text(), "Память: 4,6875 мб");
    EXPECT_EQ(w.Label4->text(), "скачать~ 0,234375 мб");
    EXPECT_TRUE(w.Button5->isEnabled());
    w.Edit1->setText("0");
    EXPECT_EQ(w.Label3->text(), "Память: 0 мб");
    EXPECT_FALSE(w.Button5->isEnabled());
    w.Edit1->setText("x");
    w.Edit2->setText("y"); // -1 by -1: the button comes back
    EXPECT_TRUE(w.Button5->isEnabled());
    EXPECT_TRUE(w.Label7->text().startsWith("Выкачивание производится при текущем увеличении"));
}

TEST_F(WindowTest, StitchFromTheWindowSavesWhereTheUserSaysAndComesBack) {
    TForm1& w = Open();
    http.requests.clear();
    w.Edit1->setText("2");
    w.Edit2->setText("1");
    for (int i = 0; i < 2; ++i)
        http.Reply(MakeTestJpeg(256, 256, Qt::green));
    for (int i = 0; i < 4; ++i) // the closing refresh
        http.Reply(MakeTestJpeg(256, 256, Qt::green));
    const QString out = home.file("map.jpg");
    w.askStitchFileForTesting = [&] { return std::optional<QString>(out); };
    w.Button5->click();
    EXPECT_EQ(http.requests.mid(0, 2), QStringList({Url("q"), Url("r")}));
    EXPECT_TRUE(QFileInfo(out).size() > 0);
    EXPECT_TRUE(QFileInfo::exists(home.file("map.map")));
    EXPECT_EQ(form3->Label1->text(), "Закачано 1 фрагментов из 2");
    EXPECT_TRUE(w.isEnabled());
    EXPECT_FALSE(w.batchActive);
    EXPECT_FALSE(form3->isVisible());
    EXPECT_EQ(Paths(), QStringList({"q", "r", "s", "t"}));
}

TEST_F(WindowTest, StitchTooLargeSaysSoAndGivesTheWindowBack) {
    TForm1& w = Open();
    http.requests.clear();
    w.Edit1->setText("256");
    MessageBoxAnswerer boxes;
    w.Button5->click();
    EXPECT_EQ(boxes.text, "ошибки: Выполнить невозможно - слишком большое изображение?");
    EXPECT_TRUE(http.requests.isEmpty());
    EXPECT_TRUE(w.isEnabled());
    EXPECT_FALSE(w.batchActive);
}

TEST_F(WindowTest, PrefillFromTheWindowVisitsTheRegionAndPutsTheViewBack) {
    ASSERT_TRUE(QDir().mkpath(home.file("Cash")));
    TForm1& w = Open();
    w.Edit3->setText("2");
    EXPECT_EQ(w.Label13->text(), "Ориентировочный объем 220,88 Кбайт");
    http.requests.clear();
    for (int i = 0; i < 16 + 4; ++i) // the region's tiles, then the view put back
        http.Reply(MakeTestJpeg(256, 256, Qt::blue));
    w.Button6->click();
    ASSERT_EQ(http.requests.size(), 20);
    EXPECT_EQ(http.requests.mid(0, 4), QStringList({Url("qq"), Url("qr"), Url("qs"), Url("qt")}));
    EXPECT_EQ(Paths(), QStringList({"q", "r", "s", "t"}));
    EXPECT_TRUE(w.isEnabled());
    EXPECT_FALSE(w.batchActive);
}
