// SPDX-License-Identifier: GPL-3.0-or-later
// The map area as it grows with the window: the block of tiles around the view's four, the
// drag that pans it, the wheel that zooms and the arrows that pan by a tile.
#include "app/coverage_overlay.h"
#include "app/graticule_overlay.h"
#include "app/marker_image.h"
#include "app/region_outline.h"
#include "app/rx_slider.h"
#include "app/scale_bar_overlay.h"
#include "app/status_panels.h"
#include "app/tform1.h"
#include "app/tile_image.h"
#include "tiles/tile_block.h"
#include "tiles/view_moves.h"

#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QTimer>
#include <algorithm>

namespace {

// Below the map: the tab control at its usual height, the status bar, and the two pixels
// between the mosaic and the tabs that the starting layout has.
constexpr int kBelowMap = TForm1::kClientHeight - 2 * kTileSide;

QPoint CellPlace(BlockCell cell) {
    return {cell.column * kTileSide, cell.row * kTileSide};
}

} // namespace

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const BlockSize before = blockSize_;
    StopRing(); // the ring of the old size
    LayoutWindow();
    // New cells are blank until loaded; the resize itself is the user's, so the refresh waits
    // for the event loop and for any refresh under way.
    if (blockSize_ != before && blockLoading_)
        viewMoved_ = true; // the load under way starts again for the new block
    else if (blockSize_ != before && shownOnce_ && isVisible())
        QTimer::singleShot(0, this, [this] {
            if (!IsBusy())
                RefreshView();
        });
}

int TForm1::TabHeight() const {
    if (PageControl1->currentWidget() == TabSheet5)
        return 200;
    if (PageControl1->currentWidget() == TabSheet4)
        return 439;
    return 137;
}

void TForm1::LayoutWindow() {
    const int bottom = height() - StatusPanels::kHeight;
    PageControl1->setGeometry(0, bottom - TabHeight(), width(), TabHeight());
    StatusB->setGeometry(0, bottom, width(), StatusPanels::kHeight);
    // Tiles of a tall block run on below the tabs: the status bar hides them as the tabs do.
    StatusB->setAutoFillBackground(true);
    LayoutBlock();
    ShowScaleBar();
    ShowGraticule();
}

void TForm1::StackOverlays() {
    const std::initializer_list<QWidget*> order{CoverageView, GraticuleView, Outline,
                                                TrackView,    ScaleBarView,  Image5,
                                                PageControl1, StatusB};
    // Raising a widget repaints it, tabs and all, and this runs with every refresh: only when
    // a tile or a layer is out of its place.
    const QObjectList& stack = children(); // bottom first
    qsizetype below = -1;
    for (const TileImage* tile : blockImages_)
        below = std::max(below, stack.indexOf(tile));
    bool inOrder = true;
    for (QWidget* above : order) {
        const qsizetype at = stack.indexOf(above);
        inOrder = inOrder && at > below;
        below = at;
    }
    if (!inOrder)
        for (QWidget* above : order)
            above->raise();
}

void TForm1::LayoutBlock() {
    const BlockSize size = BlockSizeFor(width(), height() - kBelowMap);
    if (size != blockSize_ || blockImages_.empty()) {
        blockSize_ = size;
        blockOrder_ = BlockFetchOrder(size);
        if (blockImages_.empty())
            blockImages_.assign(images.begin(), images.end());
        while (blockImages_.size() > blockOrder_.size()) {
            delete blockImages_.back();
            blockImages_.pop_back();
        }
        while (blockImages_.size() < blockOrder_.size()) {
            auto* tile = new TileImage(this);
            ConnectBlockTile(tile, blockImages_.size());
            tile->show();
            blockImages_.push_back(tile);
        }
        // New tiles are stacked above the marker, the layers and the tabs: put those back.
        StackOverlays();
        // In a larger window the map takes the keyboard focus when clicked, for the arrows; at
        // the starting size the focus stays where the user put it.
        const bool large = size != BlockSize{};
        for (TileImage* tile : blockImages_)
            tile->setFocusPolicy(large ? Qt::ClickFocus : Qt::NoFocus);
    }
    // The map ends where the tabs begin; the tiles below them are hidden.
    const QRect map(0, 0, width(), PageControl1->y());
    for (std::size_t i = 0; i < blockImages_.size(); ++i) {
        const QRect place(CellPlace(blockOrder_[i]) + dragOffset_, QSize(kTileSide, kTileSide));
        blockImages_[i]->move(place.topLeft());
        blockImages_[i]->SetShownPart((place & map).translated(-place.topLeft()));
    }
    Outline->setGeometry(QRect(dragOffset_, QSize(size.columns, size.rows) * kTileSide));
    GraticuleView->setGeometry(Outline->geometry());
    CoverageView->setGeometry(Outline->geometry());
    TrackView->setGeometry(Outline->geometry());
}

QStringList TForm1::BlockRefs() const {
    const ViewRefs refs = CurrentViewRefs();
    QStringList out(viewUrls.begin(), viewUrls.end());
    const QString& anchor = refs.Letters()[0];
    // Beyond the view's four, the block shows the world once north to south: the cells past
    // the poles stay empty.
    for (std::size_t i = 4; i < blockOrder_.size(); ++i)
        out << (CellOnWorld(anchor, blockOrder_[i])
                    ? refs.RefOf(0, ShiftedLetters(anchor, blockOrder_[i]))
                    : QString());
    return out;
}

void TForm1::ConnectBlockTile(TileImage* tile, std::size_t index) {
    // The cell of a tile is looked up when it acts: a resize reorders the block.
    const auto cell = [this, index] { return blockOrder_.at(index); };
    connect(tile, &TileImage::Pressed, this, [this, tile, cell](Qt::MouseButton b, QPoint pos) {
        TilePressed(cell(), b, tile->pos() + pos);
    });
    connect(tile, &TileImage::Released, this, [this, tile, cell](Qt::MouseButton b, QPoint pos) {
        TileReleased(cell(), b, tile->pos() + pos);
    });
    connect(tile, &TileImage::Moved, this, [this, tile, cell](QPoint pos) {
        const BlockCell at = cell();
        if (const int slot = ViewSlotOf(at); slot >= 0)
            ImageMouseMove(slot, pos);
        else
            ImageMouseMove(0, PointOnWorld(CellPlace(at) + pos, ViewAnchorKey()));
        TileMoved(at, tile->pos() + pos);
    });
    connect(tile, &TileImage::Wheeled, this,
            [this, cell](int steps, QPoint) { BlockWheel(cell(), steps); });
}

void TForm1::TilePressed(BlockCell cell, Qt::MouseButton button, QPoint at) {
    const int slot = ViewSlotOf(cell);
    // At the starting size the upper tiles zoom as the button goes down, as they always did;
    // in a larger window every tile waits for the release, so that any of them can be dragged.
    if (blockSize_ == BlockSize{} && (slot == 0 || slot == 1)) {
        ImageClick(slot, button);
        return;
    }
    if (button == Qt::LeftButton) {
        pressedAt_ = at;
        dragging_ = false;
    }
}

void TForm1::TileMoved(BlockCell, QPoint at) {
    if (!pressedAt_ || NavigationBusy())
        return;
    const QPoint moved = at - *pressedAt_;
    if (!dragging_ && moved.manhattanLength() < QApplication::startDragDistance())
        return;
    dragging_ = true;
    dragOffset_ = moved;
    LayoutBlock();
}

void TForm1::TileReleased(BlockCell cell, Qt::MouseButton button, QPoint at) {
    const bool dragged = dragging_ && button == Qt::LeftButton;
    const QPoint moved = pressedAt_ ? at - *pressedAt_ : QPoint();
    if (button == Qt::LeftButton) {
        pressedAt_.reset();
        dragging_ = false;
    }
    if (dragged) {
        dragOffset_ = {};
        LayoutBlock();
        const BlockCell shift = DragShift(moved.x(), moved.y());
        if (shift != BlockCell{})
            ShiftView(shift);
        return;
    }
    const int slot = ViewSlotOf(cell);
    if (blockSize_ == BlockSize{}) {
        if (slot == 2 || slot == 3)
            ImageClick(slot, button);
        return;
    }
    if (slot >= 0)
        ImageClick(slot, button);
    else
        BlockCellClick(cell, button);
}

void TForm1::BlockCellClick(BlockCell cell, Qt::MouseButton button) {
    const ViewRefs refs = CurrentViewRefs();
    if (button != Qt::RightButton && !CellOnWorld(refs.Letters()[0], cell))
        return; // nothing to zoom into beyond the poles
    // A right click zooms out about the anchor wherever it is made, as on the view's tiles.
    ClickZoomTo(refs,
                button == Qt::RightButton && refs.Level() >= 2
                    ? ClickZoom(refs.Letters(), 0, true)
                    : ViewMove::FromSlot(0, ZoomIntoTile(ShiftedLetters(refs.Letters()[0], cell))));
}

void TForm1::BlockWheel(BlockCell cell, int steps) {
    if (NavigationBusy() || steps == 0)
        return;
    const Qt::MouseButton button = steps > 0 ? Qt::LeftButton : Qt::RightButton;
    if (const int slot = ViewSlotOf(cell); slot >= 0)
        ImageClick(slot, button);
    else
        BlockCellClick(cell, button);
}

void TForm1::ShiftView(BlockCell shift) {
    const ViewRefs refs = CurrentViewRefs();
    ViewUrls letters = refs.Letters();
    for (QString& each : letters)
        each = ShiftedLetters(each, shift);
    viewUrls = refs.Rebuilt(letters);
    RefreshView();
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    // Reached only when the control with the focus left the arrow keys alone: the map's tiles.
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        switch (event->key()) {
        case Qt::Key_Left:
            return PanView(PanDirection::West);
        case Qt::Key_Right:
            return PanView(PanDirection::East);
        case Qt::Key_Up:
            return PanView(PanDirection::North);
        case Qt::Key_Down:
            return PanView(PanDirection::South);
        default:
            break;
        }
    }
    QWidget::keyPressEvent(event);
}

void TForm1::ShowMarker() {
    Image5->hide();
    if (markedTile.isEmpty() || !CheckBox3->isChecked()) // only a search marks a tile
        return;
    const QStringList refs = BlockRefs();
    for (int i = 0; i < refs.size(); ++i) {
        if (markedTile == refs[i]) {
            const QPoint place = blockImages_.at(static_cast<std::size_t>(i))->pos();
            Image5->move(place.x() + markX - MarkerImage::kCentre,
                         place.y() + markY - MarkerImage::kCentre);
            Image5->raise();
            PageControl1->raise();
            Image5->show();
            return;
        }
    }
}

void TForm1::CarryOverTiles() {
    const QStringList refs = BlockRefs();
    if (refs == shownRefs_)
        return;
    QHash<QString, QPixmap> shown;
    for (qsizetype i = 0; i < shownRefs_.size() && i < qsizetype(blockImages_.size()); ++i)
        shown.insert(shownRefs_[i], blockImages_[std::size_t(i)]->pixmap());
    for (qsizetype i = 0; i < refs.size() && i < qsizetype(blockImages_.size()); ++i)
        blockImages_[std::size_t(i)]->setPixmap(shown.value(refs[i]));
    shownRefs_ = refs;
}

bool TForm1::TakesInputWhileLoading(const QWidget& widget) const {
    // Keys the map's tiles leave alone reach the window itself (the arrows).
    if (&widget == this || std::find(pad.begin(), pad.end(), &widget) != pad.end() ||
        RxSlider1->isAncestorOf(&widget) || &widget == RxSlider1)
        return true;
    return std::find(blockImages_.begin(), blockImages_.end(), &widget) != blockImages_.end();
}

void TForm1::ShowScaleBar() {
    const std::optional<TileKey> anchor = ViewAnchorKey();
    ScaleBarView->setVisible(LayerOn(ScaleCheck) && anchor);
    if (!ScaleBarView->isVisible())
        return;
    // The view's centre is the corner its four tiles share.
    ScaleBarView->Measure(RowEdgeLatitude(anchor->level, anchor->row + 1.0), anchor->level);
    ScaleBarView->move(8, PageControl1->y() - ScaleBarOverlay::kHeight - 8);
    ScaleBarView->raise();
    PageControl1->raise();
}

void TForm1::ShowGraticule() {
    const std::optional<TileKey> anchor = ViewAnchorKey();
    GraticuleView->setVisible(LayerOn(GridCheck) && anchor);
    if (GraticuleView->isVisible())
        GraticuleView->Measure(*anchor);
}
