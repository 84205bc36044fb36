// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file and the favourite places, as seen from the window: which control
// each value goes to and what changing that control sets off.
#include "app/tform1.h"

#include "app/settings_controls.h"
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

std::vector<SettingsControlRow> TForm1::SettingsControls() const {
    using namespace SettingsLine;
    // The view's four lines and the prefix length apply together, once all lines are read.
    return {
        {ModeCacheOnly, RadioButton1,
         [](TForm1& f) { f.NameCheckedMode(f.RadioButton1, tr("только кэш")); }},
        {ModeInternetOnly, RadioButton2,
         [](TForm1& f) { f.NameCheckedMode(f.RadioButton2, tr("интернет")); }},
        {ModeCacheAndInternet, RadioButton3,
         [](TForm1& f) { f.NameCheckedMode(f.RadioButton3, tr("кэш и интернет")); }},
        {ScheduleDialog, CheckBox1},
        {UseProxy, CheckBox2},
        {ProxyServer, Edit5},
        {ProxyPort, Edit6},
        {ProxyUser, Edit8},
        {ProxyPassword, Edit9},
        {LatHemisphere, SCB},
        {LonHemisphere, DCB},
        {MarkPoint, CheckBox3},
        {SearchZoom, FCB},
        {StitchColumns, Edit1},
        {StitchRows, Edit2},
        {JpegQuality, UpDown3},
        {PrefillLevel, Edit3},
        {FetchAttempts, UpDown1},
        {WriteErrorLimit, UpDown2},
        {ReceiveErrorLimit, UpDown4},
        {BadFileErrorLimit, UpDown5},
        {CacheDirectory, Edit16},
        {UseCacheDirectory, CheckBox4,
         [](TForm1& f) {
             f.CheckBox4Click();
             if (f.CheckBox4->isChecked())
                 f.cacheRoot = f.ChosenCacheRoot();
         }},
        {RetryInterval, UpDown6},
    };
}

void TForm1::ApplySettings(const Settings& settings) {
    Settings lines = settings;
    for (const SettingsControlRow& row : SettingsControls()) {
        if (row.line >= settings.linesPresent)
            break;
        ShowSettingsLine(row, lines);
        if (row.then)
            row.then(*this);
    }
    viewUrls = settings.view.urls;
    prefixLength = settings.view.prefixLength;
    // A source no longer in the sources files leaves the demo source chosen.
    if (!ChooseSource(settings.sourceName))
        ChooseSource(kDemoSourceName);
    RefreshDaysUpDown->setValue(settings.refreshDays);
    if (settings.windowWidth > 0 && settings.windowHeight > 0) {
        savedSize_ = QSize(settings.windowWidth, settings.windowHeight);
        savedSizeFitted_ = FittedToScreen(savedSize_);
        resize(savedSizeFitted_); // no smaller than the minimum
    }
}

void TForm1::NameCheckedMode(QRadioButton* button, const QString& caption) {
    if (button->isChecked())
        SpeedButton10->setText(caption);
}

Settings TForm1::CurrentSettings() const {
    Settings s;
    s.linesPresent = kSettingsLineCount;
    s.view = {viewUrls, prefixLength};
    for (const SettingsControlRow& row : SettingsControls())
        TakeSettingsLine(row, s);
    s.sourceName = CurrentSource().name;
    s.refreshDays = RefreshDaysUpDown->value();
    // A maximised window comes back at the size it had before, which the user chose.
    QSize size = isMaximized() ? normalGeometry().size() : this->size();
    if (size == savedSizeFitted_)
        size = savedSize_; // shrunk to this screen only: the size chosen stays for a larger one
    if (size.isValid() && size != startSize_) {
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
