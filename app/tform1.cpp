// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's life cycle, the view refresh and the settings-tab handlers.
#include "app/tform1.h"

#include "app/after_expose.h"
#include "app/input_block.h"
#include "app/job_dialogs.h"
#include "app/marker_image.h"
#include "app/radio_check.h"
#include "app/rx_slider.h"
#include "app/status_panels.h"
#include "app/tform3.h"
#include "app/tile_image.h"
#include "app/tile_pixmap.h"
#include "batch/jobs/prefill_estimate.h"
#include "loader/tile_loader.h"
#include "loader/view_tiles.h"
#include "sources/tile_request.h"
#include "tiles/decimal_text.h"
#include "tiles/default_source.h"
#include "tiles/view_moves.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QScopedValueRollback>
#include <QScreen>
#include <QThread>
#include <QUrl>
#include <cstdio>
#include <utility>

namespace {

const char* const kCacheOnlyText = QT_TRANSLATE_NOOP("TForm1", "только кэш");
const char* const kInternetText = QT_TRANSLATE_NOOP("TForm1", "интернет");
const char* const kBothText = QT_TRANSLATE_NOOP("TForm1", "кэш и интернет");

} // namespace

// What the tile loop needs from the window while it runs.
class TForm1::RefreshHooks : public ViewLoadHooks {
public:
    explicit RefreshHooks(TForm1& form) : form_(form) {}
    // Tiles from the cache come faster than a screen shows them: events, and with them the
    // tiles drawn so far, are taken at most once a frame, so that a view or a block from the
    // cache is painted once rather than once a tile, and a click waits no longer than a frame.
    // A tile from the network is drawn while the next one is awaited, as the client pumps
    // events while it waits.
    void PumpEvents() override {
        constexpr int kFrameMs = 16;
        if (sincePump_.isValid() && sincePump_.elapsed() < kFrameMs)
            return;
        QCoreApplication::processEvents();
        sincePump_.start();
    }
    void ShowErrorCounts() override {
        if (TForm3* progress = form_.BuiltProgressDialog())
            progress->ShowErrorCounts(form_.counters);
    }
    bool CancelRequested() override { return form_.cancel_ && form_.cancel_->Raised(); }
    void SleepMs(int ms) override { QThread::msleep(static_cast<unsigned long>(ms)); }
    void ShowTile(int slot, const TilePixels& image) override {
        const auto tile = static_cast<std::size_t>(slot);
        const std::size_t cell = cells.empty()         ? tile
                                 : tile < cells.size() ? cells[tile]
                                                       : SIZE_MAX;
        if (cell < form_.blockImages_.size())
            form_.blockImages_[cell]->setPixmap(TilePixmap(image));
    }

    // The block's cell of each tile loaded, in order, when some cells have none.
    std::vector<std::size_t> cells;

private:
    TForm1& form_;
    QElapsedTimer sincePump_;
};

TForm1::TForm1(ProgramHome home, QWidget* parent)
    : QWidget(parent), IdHTTP1(QStringLiteral("127.0.0.1")), home_(std::move(home)) {
    sources_ = ProgramSources(home_);
    for (const QString& problem : sources_.problems)
        std::fprintf(stderr, "orbivist: %s\n", problem.toUtf8().constData());
    // A tile can take up to a minute; meanwhile the window is repainted and timers run, but
    // clicks and keys wait, so a cancel still takes effect only between tiles.
    IdHTTP1.SetWhileWaiting(
        [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    BuildLayout();
    ConnectHandlers();
    cacheRoot = home_.DefaultCacheRoot();
    LoadSettings();
    LoadFavorites();
    RxSlider1->setFocus(Qt::OtherFocusReason);
}

TForm1::~TForm1() = default;

void TForm1::AttachDialogs(JobDialogs* dialogs, DialUpService* dialUp, CancelFlag* cancel) {
    cancel_ = cancel;
    dialogs_ = dialogs;
    dialUp_ = dialUp;
}

TForm3* TForm1::BuiltProgressDialog() const {
    return dialogs_ ? dialogs_->ProgressIfBuilt() : nullptr;
}

TForm3& TForm1::ProgressDialog() {
    const bool built = BuiltProgressDialog() != nullptr;
    TForm3& progress = dialogs_->Progress();
    if (!built)
        progress.ShowErrorCounts(counters);
    return progress;
}

void TForm1::ConnectHandlers() {
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] { PageControl1Change(); });
    connect(SpeedButton10, &QPushButton::clicked, this, [this] { SpeedButton10Click(); });
    connect(SpeedButton11, &QPushButton::clicked, this, [this] { SpeedButton11Click(); });
    ConnectNavigation();
}

void TForm1::ConnectSettingsTab() {
    connect(Button8, &QPushButton::clicked, this, [this] { Button8Click(); });
    connect(RadioButton1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RadioButton1Click();
    });
    connect(RadioButton2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RadioButton2Click();
    });
    connect(RadioButton3, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RadioButton3Click();
    });
    connect(ButtonSOK, &QPushButton::clicked, this, [this] { ButtonSOKClick(); });
    connect(ButtonS, &QPushButton::clicked, this, [this] { ButtonSClick(); });
    connect(SourceBox, &QComboBox::activated, this, [this](int index) { SourceBoxSelect(index); });
    connect(CheckBox4, &QCheckBox::toggled, this, [this] { CheckBox4Click(); });
    connect(Edit16, &QLineEdit::textChanged, this, [this] { Edit16Change(); });
    connect(Edit16Browse, &QToolButton::clicked, this, [this] {
        const QString dir = QFileDialog::getExistingDirectory(this, QString(), Edit16->text());
        if (!dir.isEmpty())
            Edit16->setText(dir);
    });
    connect(CheckBox2, &QCheckBox::toggled, this, [this] { CheckBox2Click(); });
    for (QLineEdit* field : {Edit5, Edit6, Edit8, Edit9})
        connect(field, &QLineEdit::textChanged, this, [this] { ProxyFieldChange(); });
}

void TForm1::ConnectStitchTab() {
    connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    connect(Edit2, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    connect(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
}

void TForm1::ConnectPrefillTab() {
    connect(Edit3, &QLineEdit::textChanged, this, [this] { Edit3Change(); });
    connect(Button6, &QPushButton::clicked, this, [this] { Button6Click(); });
    connect(Button7, &QPushButton::clicked, this, [this] { Button7Click(); });
    ConnectRegionChoice();
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    if (event->spontaneous())
        return;
    // The first view can take minutes from a silent server: the window is put on screen
    // first. A refresh already under way (the window is disabled) loads the view instead.
    CallWhenExposed(windowHandle(), this, [this] {
        if (beforeFirstView_)
            std::exchange(beforeFirstView_, {})();
        if (isVisible() && !IsBusy())
            FormShow();
    });
}

void TForm1::FormShow() {
    RxSlider1->setValue(ViewLevel());
    QCoreApplication::processEvents();
    RefreshView();
}

void TForm1::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // While a job runs the main window is disabled; keep its progress dialog in front.
    TForm3* progress = BuiltProgressDialog();
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && progress &&
        progress->isVisible()) {
        progress->raise();
        progress->activateWindow();
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    // A disabled window is busy loading: closing it now would save a view in the making
    // and leave the work running without a window.
    if (IsBusy()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TForm1::FormClose() {
    StopRing();
    SaveSettings();
}

int TForm1::ViewLevel() const {
    return CurrentViewRefs().Level();
}

ViewRefs TForm1::CurrentViewRefs() const {
    return ViewRefs(viewUrls, prefixLength);
}

std::optional<TileKey> TForm1::ViewAnchorKey() const {
    return TileKey::FromLetters(CurrentViewRefs().Letters()[0].toStdString());
}

WorkMode TForm1::CurrentWorkMode() const {
    // Until the settings tab is built, its radio buttons are the mode lines held.
    const bool built = settingsTab_.Built();
    if (built ? RadioButton1->isChecked() : held_.modeLines[0])
        return WorkMode::CacheOnly;
    if (built ? RadioButton2->isChecked() : held_.modeLines[1])
        return WorkMode::InternetOnly;
    return WorkMode::CacheAndInternet; // also when a settings file selected none
}

void TForm1::DisableWindow() {
    // Disabling takes the focus away from the field that had it; remember it so that typing
    // goes on where it was, and so that a coordinate field does not take that for the user
    // leaving it.
    StopRing(); // the work has the connections to itself
    if (isEnabled())
        focusBeforeDisable_ = focusWidget();
    inputBlocked_ = true;
    setEnabled(false);
}

void TForm1::EnableWindow() {
    setEnabled(true);
    inputBlocked_ = false;
    if (focusBeforeDisable_)
        focusBeforeDisable_->setFocus(Qt::OtherFocusReason);
}

void TForm1::RefreshView() {
    if (ringStepping_) { // a ring tile is under way: the refresh follows it
        refreshAfterRing_ = true;
        StopRing();
        return;
    }
    StopRing();
    if (blockSize_ != BlockSize{}) {
        if (blockLoading_)
            viewMoved_ = true; // the load under way starts again for the new view
        else
            RefreshBlock();
        return;
    }
    // Input is held back for the refresh only: greying every control and back would cost more
    // than the refresh itself.
    const InputBlock block(*this);
    const QScopedValueRollback<bool> refreshing(refreshing_, true);
    RefreshHooks hooks(*this);
    LoadView(viewUrls, ShownViewSource(), std::nullopt, counters, hooks);
    QCoreApplication::processEvents();
    UpdateAfterRefresh();
    shownRefs_ = BlockRefs();
    StartRing();
}

void TForm1::RefreshBlock() {
    const InputBlock block(
        *this, [this](const QWidget& widget) { return TakesInputWhileLoading(widget); });
    const QScopedValueRollback<bool> refreshing(refreshing_, true);
    const QScopedValueRollback<bool> loading(blockLoading_, true);
    RefreshHooks hooks(*this);
    do {
        viewMoved_ = false;
        CarryOverTiles();
        const ViewSource source = ShownViewSource();
        std::vector<TileRequest> tiles;
        const QStringList refs = BlockRefs();
        hooks.cells.clear();
        for (qsizetype i = 0; i < refs.size(); ++i) {
            if (refs[i].isEmpty())
                continue; // beyond the poles
            tiles.push_back(source.tiles->Request(refs[i]));
            hooks.cells.push_back(std::size_t(i));
        }
        LoadBlock(tiles, CurrentSource().connections, source, counters, hooks,
                  [this] { return !viewMoved_; });
        QCoreApplication::processEvents();
    } while (viewMoved_ && blockSize_ != BlockSize{});
    UpdateAfterRefresh();
    StartRing();
}

void TForm1::UpdateAfterRefresh() {
    if (refresh_)
        refresh_->Commit(); // what the server said of the tiles shown, seen by a command run next
    QString received = QString::number(counters.bytesReceived / 1024) + tr(" Кб из интернета");
    if (counters.tilesConfirmed + counters.tilesReplaced + counters.tilesKeptStale > 0)
        received += tr(", проверено %1, заменено %2, устарело %3")
                        .arg(counters.tilesConfirmed)
                        .arg(counters.tilesReplaced)
                        .arg(counters.tilesKeptStale);
    StatusB->setText(3, received);
    const int level = ViewLevel();
    Label6->setText(QString::number(level));
    RxSlider1->setValue(level);
    StatusB->setText(2, QString::number(level));
    if (prefillTab_.Built()) // else its estimate is made as it is built
        Edit3Change();

    const QString anchorPath = CurrentViewRefs().Letters()[0];
    anchor = AnchorOffsets(anchorPath);
    const LatLonText centre = ViewCentreText(anchorPath, level);
    StatusB->setText(0, centre.latitude);
    StatusB->setText(1, centre.longitude);

    ShowMarker();
    ShowScaleBar();
    ShowGraticule();
    ShowCoverage();
    ShowTrack();
}

void TForm1::PageControl1Change() {
    if (PageControl1->currentWidget() == TabSheet4)
        Edit11->setText(CurrentViewRefs().Prefix());
    LayoutWindow();
}

void TForm1::SetWorkModeText(const QString& text) {
    StatusB->setText(4, text);
    SpeedButton10->setText(text);
}

QString TForm1::ModeCaption(int mode) {
    const std::array<const char*, 3> kTexts = {kCacheOnlyText, kInternetText, kBothText};
    return tr(kTexts.at(static_cast<std::size_t>(mode)));
}

void TForm1::RadioButton1Click() {
    SetWorkModeText(ModeCaption(0));
}
void TForm1::RadioButton2Click() {
    SetWorkModeText(ModeCaption(1));
}
void TForm1::RadioButton3Click() {
    SetWorkModeText(ModeCaption(2));
}

void TForm1::SpeedButton10Click() {
    switch (CurrentWorkMode()) {
    case WorkMode::CacheOnly:
        RadioButton2->setChecked(true);
        SpeedButton10->setText(tr(kInternetText));
        break;
    case WorkMode::InternetOnly:
        RadioButton3->setChecked(true);
        SpeedButton10->setText(tr(kBothText));
        break;
    case WorkMode::CacheAndInternet:
        RadioButton1->setChecked(true);
        SpeedButton10->setText(tr(kCacheOnlyText));
        break;
    }
}

void TForm1::SpeedButton11Click() {
    const std::array<bool, 3> was = {RadioButton1->isChecked(), RadioButton2->isChecked(),
                                     RadioButton3->isChecked()};
    RadioButton3->setChecked(true);
    RefreshView();
    SetRadioChecked(RadioButton1, was[0]);
    SetRadioChecked(RadioButton2, was[1]);
    SetRadioChecked(RadioButton3, was[2]);
}

void TForm1::Button1Click() {
    // The guide in the window's language, else the Russian one.
    QString readme = home_.ReadMe(tr("ReadMe.txt"));
    if (!QFile::exists(readme))
        readme = home_.ReadMe();
    if (QFile::exists(readme))
        QDesktopServices::openUrl(QUrl::fromLocalFile(readme));
}

void TForm1::ButtonSOKClick() {
    const QString prefix = Edit11->text();
    viewUrls = CurrentViewRefs().OnPrefix(prefix);
    prefixLength = static_cast<int>(prefix.size());
    RefreshView();
}

void TForm1::ButtonSClick() {
    viewUrls = DefaultViewUrls();
    prefixLength = DefaultPrefixLength();
    Edit11->setText(CurrentViewRefs().Prefix());
    RefreshView();
}

void TForm1::CheckBox4Click() {
    Edit16->setEnabled(CheckBox4->isChecked());
    Edit16Browse->setEnabled(CheckBox4->isChecked());
    if (!CheckBox4->isChecked())
        cacheRoot = home_.DefaultCacheRoot();
    // Checked: the location changes with the next edit of the field.
}

void TForm1::Edit16Change() {
    if (CheckBox4->isChecked())
        cacheRoot = ChosenCacheRoot();
}

QString TForm1::ChosenCacheRoot() const {
    return CacheRootFor(true, Edit16->text(), home_.DefaultCacheRoot());
}

void TForm1::SetProxyFieldsEnabled(bool on) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{Edit5, Edit6, Edit8, Edit9, Label16, Label17, Label18})
        w->setEnabled(on);
}

void TForm1::ApplyProxyFields() {
    IdHTTP1.SetProxy(ProxyFromFields(Edit5->text(), Edit6->text(), Edit8->text(), Edit9->text()));
}

void TForm1::CheckBox2Click() {
    SetProxyFieldsEnabled(CheckBox2->isChecked());
    if (CheckBox2->isChecked())
        ApplyProxyFields();
    else
        IdHTTP1.SetProxy(ProxySettings{});
}

void TForm1::ProxyFieldChange() {
    if (CheckBox2->isChecked())
        ApplyProxyFields();
}

void TForm1::Edit3Change() {
    if (RegionBox->currentIndex() != 0 || blockSize_ != BlockSize{})
        return RegionChoiceChange();
    const PrefillEstimate estimate = EstimatePrefill(Edit3->text(), ViewLevel());
    Label13->setText(estimate.text);
    Button6->setEnabled(estimate.canStart);
    Button7->setEnabled(estimate.canStart);
}
