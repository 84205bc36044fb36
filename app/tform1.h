// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: owns the view, the cache location, the counters and the HTTP
// client, and wires every control to a thin handler that calls the tile, fetch,
// store and batch code.
#include "app/deferred_tab.h"
#include "app/input_block.h"
#include "app/program_home.h"
#include "app/settings_controls.h"
#include "batch/dialup/dial_up.h"
#include "batch/jobs/batch_settings.h"
#include "batch/jobs/cancel_flag.h"
#include "batch/jobs/job_services.h"
#include "loader/cache_ahead.h"
#include "loader/cache_coverage.h"
#include "loader/source_refresh.h"
#include "loader/tile_counters.h"
#include "loader/view_tiles.h"
#include "net/http_client.h"
#include "sources/source_catalog.h"
#include "sources/tile_source.h"
#include "store/settings.h"
#include "store/settings_file.h"
#include "tiles/coordinates.h"
#include "tiles/map_block.h"
#include "tiles/region_tile_walk.h"
#include "tiles/view_urls.h"
#include "tiles/work_mode.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class MarkerImage;
class QFileDialog;
class QFocusEvent;
class QKeyEvent;
class RegionOutline;
class RxSlider;
class ScaleBarOverlay;
class CoverageOverlay;
class GraticuleOverlay;
class StatusPanels;
class JobDialogs;
class TForm3;
class TileImage;
class WindowFrontEnd;
enum class PanDirection;
enum class CoordField;

class TForm1 : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 512;
    static constexpr int kClientHeight = 670;

    explicit TForm1(ProgramHome home, QWidget* parent = nullptr);
    ~TForm1() override;

    // The job dialogs and the services they work with are made after the main window and
    // handed over here; the dialogs themselves are built when a job first needs them.
    void AttachDialogs(JobDialogs* dialogs, DialUpService* dialUp, CancelFlag* cancel);
    // The jobs' progress dialog, built now if no job has needed it yet; it then shows the
    // error counts so far, as one kept from the start would.
    TForm3& ProgressDialog();
    // The progress dialog when a job has built it; nothing to update or raise otherwise.
    TForm3* BuiltProgressDialog() const;
    // Called once, after the window is on screen and just before its first view asks for
    // tiles: a server started with the window may still be getting ready to answer.
    void BeforeFirstView(std::function<void()> wait) { beforeFirstView_ = std::move(wait); }
    // The running job's "Отмена"; none before the dialogs are attached.
    CancelFlag* Cancel() const { return cancel_; }

    // Loads the view's four tiles, one attempt each, and updates what describes the view; in
    // a window larger than at start, the rest of the block around them too.
    void RefreshView();
    // The block of tiles the map area shows; its top-left 2 by 2 are viewUrls.
    BlockSize CurrentBlockSize() const { return blockSize_; }
    // The references of the block's tiles in their fetch order (see BlockFetchOrder); the
    // first four are viewUrls, a cell beyond the poles has none (empty). Only the four when the
    // anchor is deeper than a key reaches.
    QStringList BlockRefs() const;
    // The tile image of each block cell, in fetch order: images first.
    const std::vector<TileImage*>& BlockImages() const { return blockImages_; }
    WorkMode CurrentWorkMode() const;
    // The view taken apart at the prefix length of the settings.
    ViewRefs CurrentViewRefs() const;
    // The key of the view's top-left tile; nothing when the view goes deeper than keys reach.
    std::optional<TileKey> ViewAnchorKey() const;
    // The retry and limit settings of the settings tab.
    BatchRetry CurrentBatchRetry() const;
    BatchSettings CurrentBatchSettings() const;
    // The view's tile source, the work mode and the network, as a job started now uses them.
    JobServices CurrentJobServices();
    // The save dialog of a stitched picture: the chosen path, or nothing when declined.
    std::optional<QString> AskStitchFile();
    QFileDialog& StitchFileDialog();
    // The save dialog of an exported region ("Экспорт…"): MBTiles or KMZ.
    std::optional<QString> AskExportFile();
    QFileDialog& ExportFileDialog();
    // While loading, the window takes no input; the focus comes back where it was.
    void DisableWindow();
    void EnableWindow();
    // Disabled by a job, or loading its view: the window takes no input and is not closed.
    bool IsBusy() const { return !isEnabled() || refreshing_; }

    // State owned by the window.
    ViewUrls viewUrls;
    int prefixLength = 0;
    QString cacheRoot;
    QString markedTile;
    int markX = -1;
    int markY = -1;
    AnchorOffset anchor;
    TileCounters counters;
    double searchLatitude = 0;
    double searchLongitude = 0;
    HttpClient IdHTTP1;

    // Mosaic and marker.
    std::array<TileImage*, 4> images{}; // Image1..Image4 in view slot order
    TileImage* Image1 = nullptr;
    TileImage* Image2 = nullptr;
    TileImage* Image3 = nullptr;
    TileImage* Image4 = nullptr;
    MarkerImage* Image5 = nullptr;
    QPlainTextEdit* Memo1 = nullptr; // the calibration file's template, one line a line
    // Made at its first use: a file dialog reads the folder and the MIME database and starts
    // a thread, none of which the first paint needs.
    QFileDialog* SDialog = nullptr;
    QFileDialog* EDialog = nullptr;
    QTabWidget* PageControl1 = nullptr;
    StatusPanels* StatusB = nullptr;

    // "Просмотр"
    QWidget* TabSheet1 = nullptr;
    std::array<QToolButton*, 9> pad{}; // SpeedButton1..SpeedButton9, row by row
    QLabel* Label6 = nullptr;
    RxSlider* RxSlider1 = nullptr;
    QPushButton* SpeedButton10 = nullptr;
    QPushButton* SpeedButton11 = nullptr;
    // "Слои", a button that opens the switches of what is drawn over the map, each off at first.
    // The switches are made at their first need, as a deferred tab's controls are; a layer
    // whose switch was never made is off.
    QToolButton* LayersButton = nullptr;
    DeferredTab layerSwitches_{[this] { BuildLayerSwitches(); }};
    TabControl<QCheckBox> ScaleCheck{layerSwitches_}; // the scale bar
    ScaleBarOverlay* ScaleBarView = nullptr;
    TabControl<QCheckBox> GridCheck{layerSwitches_}; // the latitude/longitude grid
    GraticuleOverlay* GraticuleView = nullptr;
    // The prefill tab's region: switched on as a region other than the visible one is chosen.
    TabControl<QCheckBox> RegionCheck{layerSwitches_};
    TabControl<QCheckBox> CoverageCheck{layerSwitches_}; // each tile tinted by the cache's share
    TabControl<QSpinBox> CoverageLevel{layerSwitches_};  // at this level
    CoverageOverlay* CoverageView = nullptr;
    TabControl<QCheckBox> TrackCheck{layerSwitches_};    // a track or area read from a file
    TabControl<QPushButton> TrackButton{layerSwitches_}; // "трек…"
    RegionOutline* TrackView = nullptr;

private:
    void BuildSearchTab();
    void BuildStitchTab();
    void BuildPrefillTab();
    void BuildSettingsTab();
    void BuildAboutTab();
    // The contents of the tabs other than the view, each built at its first need: shown, or
    // one of its controls reached through the members below. Declared before them.
    DeferredTab searchTab_{[this] { BuildSearchTab(); }};
    DeferredTab stitchTab_{[this] { BuildStitchTab(); }};
    DeferredTab prefillTab_{[this] { BuildPrefillTab(); }};
    DeferredTab settingsTab_{[this] { BuildSettingsTab(); }};
    DeferredTab aboutTab_{[this] { BuildAboutTab(); }};

public:
    // "Поиск"
    QWidget* TabSheet6 = nullptr;
    TabControl<QLineEdit> Edit7{searchTab_};
    TabControl<QLineEdit> Edit10{searchTab_};
    TabControl<QComboBox> SCB{searchTab_};
    TabControl<QComboBox> DCB{searchTab_};
    TabControl<QComboBox> FCB{searchTab_};
    TabControl<QPushButton> ButtonFind{searchTab_};
    TabControl<QCheckBox> CheckBox3{searchTab_};
    TabControl<QComboBox> ComboBox1{searchTab_};
    TabControl<QPushButton> ButtonSave{searchTab_};
    TabControl<QPushButton> ButtonDel{searchTab_};

    // "Склейка"
    QWidget* TabSheet2 = nullptr;
    TabControl<QLineEdit> Edit1{stitchTab_};
    TabControl<QLineEdit> Edit2{stitchTab_};
    TabControl<QLabel> Label3{stitchTab_};
    TabControl<QLabel> Label4{stitchTab_};
    TabControl<QLabel> Label7{stitchTab_};
    TabControl<QSpinBox> UpDown3{stitchTab_}; // with its field Edit4
    TabControl<QPushButton> Button5{stitchTab_};

    // "Выкачивание в кэш"
    QWidget* TabSheet3 = nullptr;
    TabControl<QLineEdit> Edit3{prefillTab_};
    TabControl<QLabel> Label13{prefillTab_};
    TabControl<QLabel> Label11{prefillTab_};
    TabControl<QPushButton> Button6{prefillTab_};
    TabControl<QPushButton> Button7{prefillTab_}; // "Экспорт…"
    // The region of both buttons: the visible one, an area file's or a box in degrees, with
    // its levels ("A-B"; the depth alone when empty) and the buffer around a file's lines.
    static constexpr const char* kRegionPart = "region part"; // shown for a region not visible
    TabControl<QComboBox> RegionBox{prefillTab_};
    TabControl<QToolButton> RegionFileButton{prefillTab_}; // "…"
    TabControl<QLineEdit> RegionEdit{prefillTab_};         // the file chosen, or the box typed
    TabControl<QSpinBox> BufferUpDown{prefillTab_};
    TabControl<QLineEdit> LevelsEdit{prefillTab_};
    RegionOutline* Outline = nullptr;

    // "Настройки"
    QWidget* TabSheet4 = nullptr;
    TabControl<QRadioButton> RadioButton1{settingsTab_};
    TabControl<QRadioButton> RadioButton2{settingsTab_};
    TabControl<QRadioButton> RadioButton3{settingsTab_};
    TabControl<QPushButton> Button8{settingsTab_};
    TabControl<QCheckBox> CheckBox2{settingsTab_};
    TabControl<QLineEdit> Edit5{settingsTab_};
    TabControl<QLineEdit> Edit6{settingsTab_};
    TabControl<QLineEdit> Edit8{settingsTab_};
    TabControl<QLineEdit> Edit9{settingsTab_};
    TabControl<QLabel> Label16{settingsTab_};
    TabControl<QLabel> Label17{settingsTab_};
    TabControl<QLabel> Label18{settingsTab_};
    TabControl<QCheckBox> CheckBox1{settingsTab_};
    TabControl<QLineEdit> Edit11{settingsTab_};
    TabControl<QComboBox> SourceBox{settingsTab_}; // the imagery sources by title, in catalog order
    TabControl<QPushButton> ButtonSOK{settingsTab_};
    TabControl<QPushButton> ButtonS{settingsTab_};
    TabControl<QCheckBox> CheckBox4{settingsTab_};
    TabControl<QLineEdit> Edit16{settingsTab_};
    TabControl<QToolButton> Edit16Browse{settingsTab_};
    TabControl<QSpinBox> UpDown1{settingsTab_}; // attempts, field Edit12
    TabControl<QSpinBox> UpDown6{settingsTab_}; // retry interval, field Edit21
    TabControl<QSpinBox> RefreshDaysUpDown{
        settingsTab_};                          // the view's refresh of cached tiles, 0 for never
    TabControl<QSpinBox> UpDown2{settingsTab_}; // write errors tolerated, field Edit13
    TabControl<QSpinBox> UpDown4{settingsTab_}; // receive errors tolerated, field Edit14
    TabControl<QSpinBox> UpDown5{settingsTab_}; // bad-file errors tolerated, field Edit15

    // "О программе"
    QWidget* TabSheet5 = nullptr;
    TabControl<QPushButton> Button1{aboutTab_};

    // Handlers, public so tests can call them as the toolkit would.
    void FormShow();
    void FormClose();
    void PageControl1Change();
    void Button8Click() { RefreshView(); }
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void SpeedButton10Click();
    void SpeedButton11Click();
    void Button1Click();
    void ButtonSOKClick();
    void ButtonSClick();
    void CheckBox4Click();
    void Edit16Change();
    void CheckBox2Click();
    void ProxyFieldChange();
    void Edit3Change();
    void Edit1Change();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void RegionBoxSelect();
    void RegionFileClick();
    // Reads the area file with the buffer shown; its region or why it has none.
    void RegionFileRead(const QString& path);
    void TrackFileClick();
    // Draws the lines and areas of the file over the map, or says why it cannot.
    void TrackFileRead(const QString& path);
    void SourceBoxSelect(int index);

    // The imagery source chosen on the settings tab.
    SourceDefinition CurrentSource() const;
    // Chooses the source of that name (any case), as the user would on the settings tab;
    // false when the catalog has none of that name.
    bool ChooseSource(const QString& name);
    const SourceCatalog& Sources() const { return sources_; }

    void PanView(PanDirection direction);
    void ImageClick(int slot, Qt::MouseButton button);
    void ImageMouseMove(int slot, QPoint pos);
    // A tile of the block beyond the view's four clicked: into it, or out as any right click.
    void BlockCellClick(BlockCell cell, Qt::MouseButton button);
    // Moves the anchor by whole tiles, east and south positive, and refreshes.
    void ShiftView(BlockCell shift);
    // The wheel over a cell: a step away from the user zooms into it, towards out.
    void BlockWheel(BlockCell cell, int steps);
    void RxSlider1Change(int value);
    void RxSlider1Changed();
    void SpeedButton5MouseDown(Qt::MouseButton button);
    bool Edit7KeyPress(QLineEdit* field, QChar key);
    void Edit7Exit(QLineEdit* field);
    void ButtonFindClick();

    void ButtonSaveClick();
    void ButtonDelClick();
    void ComboBox1Select(int index);

    void LoadSettings();
    void SaveSettings();
    // The settings as the controls and the view hold them, and back: lines apply in file
    // order, each with the side effects of the user's own change, up to settings.linesPresent.
    Settings CurrentSettings() const;
    void ApplySettings(const Settings& settings);
    void LoadFavorites();

    // A batch job's block on show: the level, the slider, the coordinates and the bytes
    // received follow it as they follow the view.
    void ShowJobBlock(const ViewUrls& block) {
        viewUrls = block;
        UpdateAfterRefresh();
    }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class RefreshHooks;
    // The ring shows nothing, counts nothing on screen, and takes no input while a tile of it
    // is under way.
    class RingHooks final : public LoaderHooks {
    public:
        void PumpEvents() override;
        void ShowErrorCounts() override {}
    };

    void BuildLayout();
    // As much of wanted as fits the screen at a large scale (see FittedStartSize).
    QSize FittedToScreen(QSize wanted) const;
    void BuildViewTab();
    void ConnectHandlers();
    void ConnectNavigation();
    void ConnectSearchTab();
    void ConnectStitchTab();
    void ConnectPrefillTab();
    void ConnectSettingsTab();
    void SetWorkModeText(const QString& text);
    // The caption of the mode of a mode line: 0 cache only, 1 internet only, 2 both.
    static QString ModeCaption(int mode);
    // Which control of the tab shows each line of the settings file, in file order; reaching
    // them builds the tab.
    std::vector<SettingsControlRow> SettingsControls(const DeferredTab& tab) const;
    // The settings read at start on the controls of a tab just built.
    void ShowHeldSettings(const DeferredTab& tab);
    // What the settings read at start set off beyond their controls: the mode's captions, the
    // proxy and the cache location, as the user's own changes of the controls would have.
    void ApplyHeldSettings(const ShownModes& modes);
    // The favourites read at start in their box.
    void ShowFavorites();
    void SaveFavoritesList();
    void SelectFirstFavorite();
    void ApplyProxyFields();
    void SetProxyFieldsEnabled(bool on);
    void UpdateAfterRefresh();
    // Places the tab control and the status bar at the bottom and fills the rest with tiles.
    void LayoutWindow();
    void LayoutBlock();
    int TabHeight() const;
    void ConnectBlockTile(TileImage* tile, std::size_t index);
    void TilePressed(BlockCell cell, Qt::MouseButton button, QPoint at);
    void TileReleased(BlockCell cell, Qt::MouseButton button, QPoint at);
    void TileMoved(BlockCell cell, QPoint at);
    void ShowMarker();
    // The view a click zooms to, when the source has its level; the slider follows.
    void ClickZoomTo(const ViewRefs& refs, const ViewMove& zoomed);
    // The scale bar at the view's centre, where the map's lower left corner is now.
    void ShowScaleBar();
    // The grid over the block, for its anchor and size.
    void ShowGraticule();
    void BuildLayersGroup();
    void BuildLayerSwitches();
    // Whether the layer's switch is on; never makes the switches.
    bool LayerOn(const TabControl<QCheckBox>& layer) const;
    // The layers above the tiles in their order, the marker, then the tabs and status bar.
    void StackOverlays();
    void ConnectLayers();
    // The cache's coverage of each tile of the block, counted from one listing of its folder.
    void ShowCoverage();
    // The track read last, on the view as it is now, when its switch is on.
    void ShowTrack();
    // The block beyond the four through the source's connections.
    void RefreshBlock();
    // The tiles already shown that the block, moved, still holds go to their new cells; the
    // other cells are cleared, so that nothing of the old view shows in the new one.
    void CarryOverTiles();
    void StartRing();
    void RingTurn();
    void StopRing();
    // While a block loads, the map, the pad and the slider still take the user's moves.
    bool TakesInputWhileLoading(const QWidget& widget) const;
    // Busy for the map's own moves: a block loading takes them at once.
    bool NavigationBusy() const { return !isEnabled() || (refreshing_ && !blockLoading_); }
    void ConnectRegionChoice();
    // The region chosen on the prefill tab with its levels, or why it cannot be fetched;
    // nothing either way for the visible region.
    std::optional<RegionLevels> ChosenRegion(QString* why) const;
    // The estimate, the buttons and the outline after the region choice or the depth changed.
    void RegionChoiceChange();
    // The chosen source's tiles of the view, its client and the loader's settings.
    ViewSource CurrentViewSource();
    // The same, for what the view shows: refreshing the cached tiles due when the settings ask.
    ViewSource ShownViewSource();
    // Which cached tiles the view and the jobs ask about again, for the chosen source and the
    // days of the settings tab.
    SourceRefresh& CurrentRefresh();
    HttpGet& SourceHttp(const SourceDefinition& source);
    // False, with the reason in the status line, when the source has no tiles at level.
    bool LevelAllowed(int level);
    // False, with the reason in a message box, when the source refuses a job down to level.
    bool SourceAllowsJob(int level);
    // Whether the dialogs and the dial-up every job shows exist yet.
    bool JobWindowsReady() const;
    // Runs a job with the window and its dialogs as its front end, once the temporary files
    // an interrupted run left in the cache are gone.
    void RunFromWindow(const std::function<void(WindowFrontEnd&)>& job);
    QString ChosenCacheRoot() const;
    int ViewLevel() const;
    CoordField FieldKind(const QLineEdit* field) const;
    bool CoordinateKeyEvent(QLineEdit* field, const QKeyEvent& key);
    bool IsLeavingField(const QFocusEvent& event) const;

    ProgramHome home_;
    // The settings file as read at start, with the work mode as its radio buttons leave it:
    // what a tab's controls show when it is built and what stands for them until then.
    Settings held_;
    std::size_t chosenSource_ = 0; // in sources_, until the settings tab is built
    // The favourites file's entries when it was read; none leaves the box's design entry.
    std::optional<QStringList> favoriteItems_;
    // The layout's size, or at a large scale on a small screen what of it fits.
    QSize startSize_{kClientWidth, kClientHeight};
    // The size the settings held, and what it was shrunk to on a screen too small for it.
    QSize savedSize_;
    QSize savedSizeFitted_;
    BlockSize blockSize_;
    std::vector<BlockCell> blockOrder_{BlockFetchOrder(BlockSize{})};
    std::vector<TileImage*> blockImages_;
    // The left button went down on the map at this point of the window, and the tiles have
    // followed it by dragOffset_ since.
    std::optional<QPoint> pressedAt_;
    QPoint dragOffset_;
    bool dragging_ = false;
    bool blockLoading_ = false;
    bool viewMoved_ = false; // during a block's load: it starts again for the new view
    QStringList shownRefs_;  // of the block's cells, in fetch order, as last loaded
    SourceCatalog sources_;
    // The client of a template source, made again when the source or the proxy changes.
    std::unique_ptr<HttpGet> sourceHttp_;
    QString sourceHttpName_;
    ProxySettings sourceHttpProxy_;
    // Shared by every view loaded; its tiles come out as the pixmaps want them.
    TileBuffers tileBuffers_{PixelFormat::Xrgb32};
    // The cache folder's names, while the coverage is shown.
    CoverageListing coverageListing_;
    // Made again only when the source, the cache root or the days change, so that the index of
    // the source's folder stays open from one view to the next.
    std::optional<SourceRefresh> refresh_;
    JobDialogs* dialogs_ = nullptr;
    CancelFlag* cancel_ = nullptr;
    DialUpService* dialUp_ = nullptr;
    QString lastStitchFile_; // the save dialog offers the last name again
    QString lastExportFile_;
    // The area file of the prefill tab as last read: its region, or why it has none.
    QString lastRegionFile_;
    QString lastTrackFile_;
    std::optional<GeoRegion> fileRegion_;
    QString fileRegionError_;
    bool shownOnce_ = false;
    std::function<void()> beforeFirstView_;
    bool coverageLevelChosen_ = false; // until then the coverage's level is the prefill's
    bool favoriteSelected_ = false;
    bool committingEntry_ = false; // inside Edit7Exit
    bool refreshing_ = false;
    bool inputBlocked_ = false; // disabled for a refresh: focus changes are not the user's
    QPointer<QWidget> focusBeforeDisable_; // the favourites box shows an entry, not typed text
    // Favorites.dat exists but could not be read: it is never rewritten during this run.
    bool favoritesRefused_ = false;
    // The ring just outside the block, read into the cache while the person does nothing;
    // declared last so that it lets go of the source's client before the client goes.
    std::unique_ptr<CacheAhead> ring_;
    RingHooks ringHooks_;
    std::unique_ptr<InputWatch> ringWatch_;
    QTimer ringTurn_;
    bool ringStepping_ = false;     // a ring tile is being fetched: the ring ends after it
    bool ringStopAsked_ = false;    // during that fetch
    bool refreshAfterRing_ = false; // a refresh was asked for during that fetch
};
