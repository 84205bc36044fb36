// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file and the favourite places, as seen from the window: which control
// each value goes to and what changing that control sets off.
#include "app/tform1.h"

#include "app/radio_check.h"
#include "store/favorite_line.h"
#include "store/favorites.h"
#include "store/settings.h"
#include "store/settings_file.h"
#include "store/settings_schema.h"
#include "store/settings_view.h"

#include <QMessageBox>

namespace {

void ShowCannotSave(QWidget* parent, const QString& fileName) {
    QMessageBox::warning(parent, TForm1::tr("Сохранение невозможно"),
                         TForm1::tr("Запись файла %1 невозможна").arg(fileName));
}

} // namespace

void TForm1::LoadSettings() {
    cacheRoot = home_.DefaultCacheRoot();
    // A short file stops at its first missing line and the rest keep their design-time
    // values.
    ApplySettings(::ReadSettings(home_.File(kSettingsFileName.toString())));
}

void TForm1::ApplySettings(const Settings& settings) {
    for (int line = 0; line < settings.linesPresent; ++line)
        ApplySettingsLine(settings, line);
    viewUrls = settings.view.urls;
    prefixLength = settings.view.prefixLength;
    // A source no longer in the sources files leaves the demo source chosen.
    if (!ChooseSource(settings.sourceName))
        ChooseSource(kDemoSourceName);
    if (settings.windowWidth > 0 && settings.windowHeight > 0)
        resize(settings.windowWidth, settings.windowHeight); // no smaller than the minimum
}

void TForm1::ApplyWorkModeLine(QRadioButton* button, bool on, const QString& caption) {
    if (on) {
        button->setChecked(true);
        SpeedButton10->setText(caption);
    } else {
        SetRadioChecked(button, false);
    }
}

void TForm1::ApplySettingsLine(const Settings& s, int line) {
    using namespace SettingsLine;
    switch (line) {
    case ModeCacheOnly:
        ApplyWorkModeLine(RadioButton1, s.modeLines[0], tr("только кэш"));
        break;
    case ModeInternetOnly:
        ApplyWorkModeLine(RadioButton2, s.modeLines[1], tr("интернет"));
        break;
    case ModeCacheAndInternet:
        ApplyWorkModeLine(RadioButton3, s.modeLines[2], tr("кэш и интернет"));
        break;
    case ScheduleDialog:
        CheckBox1->setChecked(s.scheduleDialog);
        break;
    case UseProxy:
        CheckBox2->setChecked(s.useProxy);
        break;
    case ProxyServer:
        Edit5->setText(s.proxyServer);
        break;
    case ProxyPort:
        Edit6->setText(s.proxyPort);
        break;
    case ProxyUser:
        Edit8->setText(s.proxyUser);
        break;
    case ProxyPassword:
        Edit9->setText(s.proxyPassword);
        break;
    case LatHemisphere:
        SCB->setCurrentIndex(s.latHemisphere);
        break;
    case LonHemisphere:
        DCB->setCurrentIndex(s.lonHemisphere);
        break;
    case MarkPoint:
        CheckBox3->setChecked(s.markPoint);
        break;
    case SearchZoom:
        FCB->setCurrentIndex(s.searchZoom);
        break;
    case StitchColumns:
        Edit1->setText(s.stitchColumns);
        break;
    case StitchRows:
        Edit2->setText(s.stitchRows);
        break;
    case JpegQuality:
        UpDown3->setValue(s.jpegQuality);
        break;
    case PrefillLevel:
        Edit3->setText(s.prefillLevel);
        break;
    case FetchAttempts:
        UpDown1->setValue(s.fetchAttempts);
        break;
    case WriteErrorLimit:
        UpDown2->setValue(s.writeErrorLimit);
        break;
    case ReceiveErrorLimit:
        UpDown4->setValue(s.receiveErrorLimit);
        break;
    case BadFileErrorLimit:
        UpDown5->setValue(s.badFileErrorLimit);
        break;
    case CacheDirectory:
        Edit16->setText(s.cacheDirectory);
        break;
    case UseCacheDirectory:
        CheckBox4->setChecked(s.useCacheDirectory);
        CheckBox4Click();
        if (CheckBox4->isChecked())
            cacheRoot = ChosenCacheRoot();
        break;
    case RetryInterval:
        UpDown6->setValue(s.retryInterval);
        break;
    default: // the view and the prefix length apply together, once all lines are read
        break;
    }
}

Settings TForm1::CurrentSettings() const {
    Settings s;
    s.linesPresent = kSettingsLineCount;
    s.view = {viewUrls, prefixLength};
    s.modeLines = {RadioButton1->isChecked(), RadioButton2->isChecked(), RadioButton3->isChecked()};
    s.scheduleDialog = CheckBox1->isChecked();
    s.useProxy = CheckBox2->isChecked();
    s.proxyServer = Edit5->text();
    s.proxyPort = Edit6->text();
    s.proxyUser = Edit8->text();
    s.proxyPassword = Edit9->text();
    s.latHemisphere = SCB->currentIndex();
    s.lonHemisphere = DCB->currentIndex();
    s.markPoint = CheckBox3->isChecked();
    s.searchZoom = FCB->currentIndex();
    s.stitchColumns = Edit1->text();
    s.stitchRows = Edit2->text();
    s.jpegQuality = UpDown3->value();
    s.prefillLevel = Edit3->text();
    s.fetchAttempts = UpDown1->value();
    s.writeErrorLimit = UpDown2->value();
    s.receiveErrorLimit = UpDown4->value();
    s.badFileErrorLimit = UpDown5->value();
    s.cacheDirectory = Edit16->text();
    s.useCacheDirectory = CheckBox4->isChecked();
    s.retryInterval = UpDown6->value();
    s.sourceName = CurrentSource().name;
    // A maximised window comes back at the size it had before, which the user chose.
    const QSize size = isMaximized() ? normalGeometry().size() : this->size();
    if (size.isValid() && size != QSize(kClientWidth, kClientHeight)) {
        s.windowWidth = size.width();
        s.windowHeight = size.height();
    }
    return s;
}

BatchRetry TForm1::CurrentBatchRetry() const {
    return BatchRetryOf(CurrentSettings());
}

void TForm1::SaveSettings() {
    const QString path = home_.File(kSettingsFileName.toString());
    const Settings settings = CurrentSettings();
    if (!::SaveSettings(path, SettingsLinesOf(settings), AddedSettingsLinesOf(settings)))
        ShowCannotSave(this, kSettingsFileName.toString());
}

void TForm1::LoadFavorites() {
    const FavoritesFile file = ::LoadFavorites(home_.File(kFavoritesFileName.toString()));
    if (file.state == FavoritesFile::State::Loaded) {
        ComboBox1->clear();
        ComboBox1->addItems(file.items);
    }
    // Saving the list would replace a file we could not read, and whatever it holds with it.
    favoritesRefused_ = file.state == FavoritesFile::State::Refused;
    if (favoritesRefused_) {
        QMessageBox::warning(this, tr("ошибки"),
                             tr("Файл Favorites.dat не удалось прочитать; до "
                                "выхода из программы он не будет перезаписан"));
    }
    ComboBox1->setCurrentIndex(-1); // nothing is selected until the user picks an entry
    favoriteSelected_ = false;
}

void TForm1::ConnectFavorites() {
    connect(ButtonSave, &QPushButton::clicked, this, [this] { ButtonSaveClick(); });
    connect(ButtonDel, &QPushButton::clicked, this, [this] { ButtonDelClick(); });
    connect(ComboBox1, &QComboBox::activated, this, [this](int index) { ComboBox1Select(index); });
    // Typing a name means no entry is selected any more.
    connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, this,
            [this] { favoriteSelected_ = false; });
}

void TForm1::SaveFavoritesList() {
    QStringList lines;
    for (int i = 0; i < ComboBox1->count(); ++i)
        lines << ComboBox1->itemText(i);
    if (favoritesRefused_ || !::SaveFavorites(home_.File(kFavoritesFileName.toString()), lines))
        ShowCannotSave(this, kFavoritesFileName.toString());
}

void TForm1::SelectFirstFavorite() {
    ComboBox1->setCurrentIndex(0);
    favoriteSelected_ = true;
}

void TForm1::ButtonSaveClick() {
    const QString name = ComboBox1->currentText().left(kFavoriteNameLength);
    ComboBox1->setEditText(name);
    ComboBox1->insertItem(0, FavoriteLine(name, FCB->currentText(), SCB->currentText(),
                                          Edit7->text(), DCB->currentText(), Edit10->text()));
    SaveFavoritesList();
    SelectFirstFavorite();
}

void TForm1::ButtonDelClick() {
    const int index = ComboBox1->currentIndex();
    if (!favoriteSelected_ || index < 0)
        return;
    ComboBox1->removeItem(index);
    SaveFavoritesList();
    if (ComboBox1->count() > 0) {
        SelectFirstFavorite();
    } else {
        ComboBox1->setEditText(tr("---Новое имя---"));
        favoriteSelected_ = false;
    }
}

void TForm1::ComboBox1Select(int index) {
    favoriteSelected_ = true;
    const auto fields = ParseFavoriteLine(ComboBox1->itemText(index));
    if (!fields)
        return;
    FCB->setCurrentIndex(fields->zoomIndex);
    SCB->setCurrentIndex(fields->latHemisphereIndex);
    DCB->setCurrentIndex(fields->lonHemisphereIndex);
    Edit7->setText(fields->latitudeText);
    Edit10->setText(fields->longitudeText);
    Edit7Exit(Edit7);
    Edit7Exit(Edit10);
}
