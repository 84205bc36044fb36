// SPDX-License-Identifier: GPL-3.0-or-later
// Panning, zooming, the coordinate read-out under the mouse and the search.
#include "app/rx_slider.h"
#include "app/status_panels.h"
#include "app/tform1.h"
#include "app/tile_image.h"
#include "tiles/coordinate_entry.h"
#include "tiles/tile_search.h"
#include "tiles/view_moves.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScopedValueRollback>

namespace {

// Pad positions row by row; the centre button zooms instead of panning.
constexpr std::array<PanDirection, 9> kPadDirections = {
    PanDirection::NorthWest, PanDirection::North,     PanDirection::NorthEast,
    PanDirection::West,      PanDirection::West, /* centre, unused */
    PanDirection::East,      PanDirection::SouthWest, PanDirection::South,
    PanDirection::SouthEast,
};
constexpr int kPadCentre = 4;

} // namespace

void TForm1::ConnectNavigation() {
    for (int i = 0; i < 9; ++i) {
        if (i == kPadCentre)
            continue;
        connect(pad[i], &QToolButton::clicked, this, [this, i] { PanView(kPadDirections[i]); });
    }
    pad[kPadCentre]->installEventFilter(this);

    // Which tiles act on the press and which on the release: see TilePressed.
    for (std::size_t slot = 0; slot < images.size(); ++slot)
        ConnectBlockTile(images[slot], slot);

    connect(RxSlider1, &RxSlider::Change, this, [this](int value) { RxSlider1Change(value); });
    connect(RxSlider1, &RxSlider::Changed, this, [this] { RxSlider1Changed(); });
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == pad[kPadCentre]) {
        // Filters see events even of a disabled button: a press during a refresh is lost,
        // like every other click then, instead of starting a refresh inside the refresh.
        const bool press = event->type() == QEvent::MouseButtonPress ||
                           event->type() == QEvent::MouseButtonDblClick;
        if (press && !NavigationBusy())
            SpeedButton5MouseDown(static_cast<QMouseEvent*>(event)->button());
        return press;
    }
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (field && (field == Edit7.IfBuilt() || field == Edit10.IfBuilt())) {
        if (event->type() == QEvent::KeyPress)
            return CoordinateKeyEvent(field, *static_cast<QKeyEvent*>(event));
        if (event->type() == QEvent::FocusOut && IsLeavingField(*static_cast<QFocusEvent*>(event)))
            Edit7Exit(field);
    }
    return QWidget::eventFilter(watched, event);
}

bool TForm1::CoordinateKeyEvent(QLineEdit* field, const QKeyEvent& key) {
    const QString text = key.text();
    // Keys that type nothing, or a control character other than backspace (Tab, Delete,
    // Enter), keep their usual meaning: moving the focus, editing.
    if (text.isEmpty() || (text.front().unicode() < 0x20 && text.front() != kBackspace) ||
        text.front().unicode() == 0x7F)
        return false;
    // Shortcuts such as paste would put text in that no key of the filter lets through.
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return true;
    return Edit7KeyPress(field, text.front());
}

bool TForm1::IsLeavingField(const QFocusEvent& event) const {
    // Putting the focus back on an out-of-range field takes it from the other one: that is no
    // leaving by the user, or two bad fields would hand the focus back and forth. Nor is a
    // refresh, a popup menu or another window taking the focus for a while.
    return !inputBlocked_ && !committingEntry_ && event.reason() != Qt::PopupFocusReason &&
           event.reason() != Qt::ActiveWindowFocusReason;
}

void TForm1::PanView(PanDirection direction) {
    const ViewRefs refs = CurrentViewRefs();
    viewUrls = refs.Rebuilt(::PanView(refs.Letters(), direction));
    RefreshView();
}

void TForm1::ImageClick(int slot, Qt::MouseButton button) {
    const ViewRefs refs = CurrentViewRefs();
    ClickZoomTo(refs, ClickZoom(refs.Letters(), slot, button == Qt::RightButton));
}

void TForm1::ClickZoomTo(const ViewRefs& refs, const ViewMove& zoomed) {
    if (!LevelAllowed(int(zoomed.letters[0].size())))
        return;
    viewUrls = refs.Rebuilt(zoomed);
    RefreshView();
    RxSlider1->setValue(ViewLevel());
}

void TForm1::ImageMouseMove(int slot, QPoint pos) {
    const LatLonText text = MouseReadoutText(ViewLevel(), anchor, slot, pos.x(), pos.y());
    StatusB->setText(0, text.latitude);
    StatusB->setText(1, text.longitude);
}

void TForm1::RxSlider1Change(int value) {
    Label6->setText(QString::number(value));
}

void TForm1::RxSlider1Changed() {
    const ViewRefs refs = CurrentViewRefs();
    const ViewMove zoomed = SliderZoom(refs.Letters(), RxSlider1->value());
    if (!LevelAllowed(int(zoomed.letters[0].size()))) {
        RxSlider1->setValue(ViewLevel()); // the slider shows the level the view still has
        return;
    }
    viewUrls = refs.Rebuilt(zoomed);
    RefreshView();
}

void TForm1::SpeedButton5MouseDown(Qt::MouseButton button) {
    if (button == Qt::LeftButton)
        RxSlider1->setValue(RxSlider1->value() + 1);
    else if (button == Qt::RightButton)
        RxSlider1->setValue(RxSlider1->value() - 1);
    RxSlider1Changed();
}

CoordField TForm1::FieldKind(const QLineEdit* field) const {
    return field == Edit10 ? CoordField::Longitude : CoordField::Latitude;
}

bool TForm1::Edit7KeyPress(QLineEdit* field, QChar key) {
    // With a selection the typed key replaces it, so the caret counts from its start.
    const int caret = field->hasSelectedText() ? field->selectionStart() : field->cursorPosition();
    const KeyDecision decision = FilterCoordinateKey(FieldKind(field), field->text(), caret, key);
    if (decision.hemisphereIndex)
        (field == Edit10 ? DCB : SCB)->setCurrentIndex(*decision.hemisphereIndex);
    if (!decision.insert)
        return true; // the key is swallowed
    if (*decision.insert == key)
        return false; // typed as it is, with the field's own editing
    field->insert(QString(*decision.insert));
    return true;
}

void TForm1::Edit7Exit(QLineEdit* field) {
    const QScopedValueRollback committing(committingEntry_, true);
    const CoordinateEntry entry = ParseCoordinateText(FieldKind(field), field->text());
    if (!entry.converted) {
        QMessageBox::critical(this, tr("ошибки"), entry.error);
        return;
    }
    (field == Edit10 ? searchLongitude : searchLatitude) = entry.value;
    if (!entry.inRange)
        field->setFocus(Qt::OtherFocusReason);
}

void TForm1::ButtonFindClick() {
    const int level = FCB->currentIndex() + 1;
    const TileSearch found = LatLonToTile(searchLatitude, searchLongitude, SCB->currentIndex(),
                                          DCB->currentIndex(), level);
    // The search is made on the anchor's prefix.
    const ViewRefs refs = CurrentViewRefs();
    const SearchView view = SearchViewFor(found);
    if (!LevelAllowed(int(view.view[0].size())))
        return;
    viewUrls = refs.Rebuilt(ViewMove::FromSlot(0, view.view));
    markedTile = refs.RefOf(0, view.markedTile);
    markX = view.markX;
    markY = view.markY;
    RefreshView();
}
