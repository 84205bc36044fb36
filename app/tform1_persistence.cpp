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
#include <algorithm>

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

std::vector<SettingsControlRow> TForm1::SettingsControls(const DeferredTab& tab) const {
    using namespace SettingsLine;
    // The view's four lines and the prefix length apply together, once all lines are read.
    if (&tab == &searchTab_)
        return {
            {LatHemisphere, SCB}, {LonHemisphere, DCB}, {MarkPoint, CheckBox3}, {SearchZoom, FCB}};
    if (&tab == &stitchTab_)
        return {{StitchColumns, Edit1}, {StitchRows, Edit2}, {JpegQuality, UpDown3}};
    if (&tab == &prefillTab_)
        return {{PrefillLevel, Edit3}};
    if (&tab == &settingsTab_)
        return {
            {ModeCacheOnly, RadioButton1},
            {ModeInternetOnly, RadioButton2},
            {ModeCacheAndInternet, RadioButton3},
            {ScheduleDialog, CheckBox1},
            {UseProxy, CheckBox2},
            {ProxyServer, Edit5},
            {ProxyPort, Edit6},
            {ProxyUser, Edit8},
            {ProxyPassword, Edit9},
            {FetchAttempts, UpDown1},
            {WriteErrorLimit, UpDown2},
            {ReceiveErrorLimit, UpDown4},
            {BadFileErrorLimit, UpDown5},
            {CacheDirectory, Edit16},
            {UseCacheDirectory, CheckBox4},
            {RetryInterval, UpDown6},
        };
    return {};
}

void TForm1::ShowHeldSettings(const DeferredTab& tab) {
    Settings lines = held_;
    for (const SettingsControlRow& row : SettingsControls(tab))
        if (row.line < held_.linesPresent) // a short file leaves the rest at design values
            ShowSettingsLine(row, lines);
}

void TForm1::ApplySettings(const Settings& settings) {
    const ShownModes modes = ShowModeLines(settings.modeLines, settings.linesPresent);
    held_ = settings;
    held_.modeLines = modes.on;
    for (const DeferredTab* tab : {&searchTab_, &stitchTab_, &prefillTab_, &settingsTab_})
        if (tab->Built())
            ShowHeldSettings(*tab);
    ApplyHeldSettings(modes);
    viewUrls = settings.view.urls;
    prefixLength = settings.view.prefixLength;
    // A source no longer in the sources files leaves the demo source chosen.
    if (!ChooseSource(settings.sourceName))
        ChooseSource(kDemoSourceName);
    held_.refreshDays = std::clamp(settings.refreshDays, SettingsRange::RefreshDays.min,
                                   SettingsRange::RefreshDays.max);
    if (settingsTab_.Built())
        RefreshDaysUpDown->setValue(held_.refreshDays);
    if (settings.windowWidth > 0 && settings.windowHeight > 0) {
        savedSize_ = QSize(settings.windowWidth, settings.windowHeight);
        savedSizeFitted_ = FittedToScreen(savedSize_);
        resize(savedSizeFitted_); // no smaller than the minimum
    }
}

void TForm1::ApplyHeldSettings(const ShownModes& modes) {
    using namespace SettingsLine;
    if (modes.switchedOn >= 0)
        SetWorkModeText(ModeCaption(modes.switchedOn));
    if (modes.named >= 0)
        SpeedButton10->setText(ModeCaption(modes.named));
    if (held_.linesPresent > UseProxy && held_.useProxy)
        IdHTTP1.SetProxy(ProxyFromFields(held_.proxyServer, held_.proxyPort, held_.proxyUser,
                                         held_.proxyPassword));
    if (held_.linesPresent > UseCacheDirectory && held_.useCacheDirectory)
        cacheRoot = CacheRootFor(true, held_.cacheDirectory, home_.DefaultCacheRoot());
}

Settings TForm1::CurrentSettings() const {
    Settings s;
    s.linesPresent = kSettingsLineCount;
    s.view = {viewUrls, prefixLength};
    // Reads every tab's controls: a tab not built yet is built with the settings held.
    for (const DeferredTab* tab : {&searchTab_, &stitchTab_, &prefillTab_, &settingsTab_})
        for (const SettingsControlRow& row : SettingsControls(*tab))
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
    favoriteItems_.reset();
    if (file.state == FavoritesFile::State::Loaded)
        favoriteItems_ = file.items;
    // Saving the list would replace a file we could not read, and whatever it holds with it.
    favoritesRefused_ = file.state == FavoritesFile::State::Refused;
    if (favoritesRefused_) {
        QMessageBox::warning(this, tr("ошибки"),
                             tr("Файл Favorites.dat не удалось прочитать; до "
                                "выхода из программы он не будет перезаписан"));
    }
    if (searchTab_.Built())
        ShowFavorites();
}

void TForm1::ShowFavorites() {
    if (favoriteItems_) {
        ComboBox1->clear();
        ComboBox1->addItems(*favoriteItems_);
    }
    ComboBox1->setCurrentIndex(-1); // nothing is selected until the user picks an entry
    favoriteSelected_ = false;
}

void TForm1::ConnectSearchTab() {
    Edit7->installEventFilter(this);
    Edit10->installEventFilter(this);
    connect(ButtonFind, &QPushButton::clicked, this, [this] { ButtonFindClick(); });
    connect(CheckBox3, &QCheckBox::clicked, this, [this] { Button8Click(); });
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
