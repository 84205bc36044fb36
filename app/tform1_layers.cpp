// SPDX-License-Identifier: GPL-3.0-or-later
// The "Слои" group of the view tab: what is drawn over the map, each switched on its own and
// off at first: the scale bar, the coordinate grid, the prefill tab's region, the cache's
// coverage at a chosen level, and a track or area read from a file.
#include "app/coverage_overlay.h"
#include "app/graticule_overlay.h"
#include "app/open_file_dialog.h"
#include "app/region_outline.h"
#include "app/scale_bar_overlay.h"
#include "app/tform1.h"
#include "gis/map_shapes.h"
#include "loader/source_services.h"
#include "sources/source_cache_folder.h"
#include "tiles/decimal_text.h"

#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QMenu>
#include <QMessageBox>
#include <QWidgetAction>

namespace {

QCheckBox* LayerSwitch(const QString& caption, QGridLayout& grid, int row) {
    auto* check = new QCheckBox(caption);
    check->setFocusPolicy(Qt::NoFocus);
    grid.addWidget(check, row, 0);
    return check;
}

} // namespace

void TForm1::BuildLayersGroup() {
    // The view tab has no room for a row of switches: they open from one button, as the
    // layers of a map application do.
    LayersButton = new QToolButton(TabSheet1);
    LayersButton->setText(tr("Слои"));
    LayersButton->setGeometry(160, 48, 90, 22);
    LayersButton->setPopupMode(QToolButton::InstantPopup);
    LayersButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    LayersButton->setFocusPolicy(Qt::NoFocus);
    auto* menu = new QMenu(LayersButton);
    // The switches are made as the menu first opens, or as one of them is first reached.
    connect(menu, &QMenu::aboutToShow, this, [this] { layerSwitches_.Build(); });
    LayersButton->setMenu(menu);

    ScaleBarView = new ScaleBarOverlay(this);
    GraticuleView = new GraticuleOverlay(this);
    CoverageView = new CoverageOverlay(this);
    TrackView = new RegionOutline(this, QColor(0, 90, 255));
}

void TForm1::BuildLayerSwitches() {
    QMenu* menu = LayersButton->menu();
    auto* group = new QGroupBox(tr("Слои"));
    auto* grid = new QGridLayout(group);
    ScaleCheck = LayerSwitch(tr("линейка масштаба"), *grid, 0);
    GridCheck = LayerSwitch(tr("сетка координат"), *grid, 1);
    RegionCheck = LayerSwitch(tr("область выкачивания"), *grid, 2);
    RegionCheck->setToolTip(tr("Область, выбранная на вкладке выкачивания"));
    RegionCheck->setEnabled(false); // until a region other than the visible one is chosen
    CoverageCheck = LayerSwitch(tr("кэш на уровне"), *grid, 3);
    CoverageCheck->setToolTip(
        tr("Каждый квадрат окрашен по доле его квадратов выбранного уровня, уже лежащих в "
           "кэше: красный — ни одного, жёлтый — часть, зелёный — все"));
    CoverageLevel = new QSpinBox;
    CoverageLevel->setRange(kLowestLevel, kHighestLevel);
    CoverageLevel->setToolTip(CoverageCheck->toolTip());
    grid->addWidget(CoverageLevel, 3, 1);
    TrackCheck = LayerSwitch(tr("трек"), *grid, 4);
    TrackCheck->setEnabled(false); // until a file is read
    TrackButton = new QPushButton(tr("трек…"));
    TrackButton->setToolTip(tr("Трек или область из файла GPX, KML, KMZ, GeoJSON"));
    grid->addWidget(TrackButton, 4, 1);
    auto* action = new QWidgetAction(menu);
    action->setDefaultWidget(group);
    menu->addAction(action);
    ConnectLayers();
}

bool TForm1::LayerOn(const TabControl<QCheckBox>& layer) const {
    const QCheckBox* check = layer.IfBuilt();
    return check != nullptr && check->isEnabled() && check->isChecked();
}

void TForm1::ConnectLayers() {
    connect(ScaleCheck, &QCheckBox::toggled, this, [this] { ShowScaleBar(); });
    connect(GridCheck, &QCheckBox::toggled, this, [this] { ShowGraticule(); });
    connect(RegionCheck, &QCheckBox::toggled, this, [this] { RegionChoiceChange(); });
    connect(CoverageCheck, &QCheckBox::toggled, this, [this](bool on) {
        // At first the level the prefill tab fetches down to: what the user has been caching.
        if (on && !coverageLevelChosen_) {
            const QSignalBlocker quiet(CoverageLevel);
            CoverageLevel->setValue(ParseIntOr(Edit3->text(), 0));
        }
        ShowCoverage();
    });
    connect(TrackCheck, &QCheckBox::toggled, this, [this] { ShowTrack(); });
    connect(TrackButton, &QPushButton::clicked, this, [this] {
        LayersButton->menu()->hide(); // the dialog takes its place
        TrackFileClick();
    });
    connect(CoverageLevel, &QSpinBox::valueChanged, this, [this] {
        coverageLevelChosen_ = true;
        ShowCoverage();
    });
}

void TForm1::ShowCoverage() {
    CoverageView->setVisible(LayerOn(CoverageCheck));
    if (!CoverageView->isVisible()) {
        coverageListing_ = {}; // a large cache's names are not held for nothing
        return;
    }
    const QStringList refs = BlockRefs();
    const SourceDefinition chosen = CurrentSource();
    const std::shared_ptr<const TileSource> source =
        TileSourceFor(chosen, CurrentViewRefs(), cacheRoot);
    const QString anchorLetters = CurrentViewRefs().Letters()[0];
    // One listing of the cache folder serves every tile of the block, and the next recount too
    // while nothing is written into the folder.
    const CachedLetters& cached = coverageListing_.Of(*source, anchorLetters);
    std::vector<CoverageOverlay::CellShare> cells;
    for (qsizetype i = 0; i < refs.size() && i < qsizetype(blockOrder_.size()); ++i) {
        const QString letters = SplitRef(refs[i], prefixLength).letters;
        if (!letters.isEmpty())
            cells.emplace_back(blockOrder_[std::size_t(i)],
                               cached.ShareAt(letters, CoverageLevel->value()));
    }
    CoverageView->Show(std::move(cells));
    StackOverlays();
}

void TForm1::TrackFileClick() {
    if (const std::optional<QString> path = AskFileToOpen(
            this, tr("Трек"), lastTrackFile_,
            tr("Треки и области (*.gpx *.kml *.kmz *.geojson *.json *.shp *.gpkg);;Все файлы (*)")))
        TrackFileRead(*path);
}

void TForm1::TrackFileRead(const QString& path) {
    lastTrackFile_ = path;
    MapShapes shapes = ReadMapShapes(path);
    if (!shapes.error.isEmpty()) {
        // The track shown before, if any, stays.
        QMessageBox::warning(this, tr("Трек"), shapes.error);
        return;
    }
    TrackCheck->setEnabled(true);
    TrackCheck->setToolTip(QDir::toNativeSeparators(path));
    const std::optional<TileKey> anchor = ViewAnchorKey();
    TrackView->Show(std::move(shapes), anchor.has_value(), anchor.value_or(TileKey{}));
    StackOverlays();
    TrackCheck->setChecked(true);
}

void TForm1::ShowTrack() {
    const std::optional<TileKey> anchor = ViewAnchorKey();
    TrackView->Follow(anchor.value_or(TileKey{}), anchor && LayerOn(TrackCheck));
}
