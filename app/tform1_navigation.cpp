// Panning, zooming, the coordinate read-out under the mouse and the search.
#include "app/rx_slider.h"
#include "app/status_panels.h"
#include "app/tform1.h"
#include "app/tile_image.h"
#include "tiles/coordinate_entry.h"
#include "tiles/tile_ref.h"
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

    // The upper tiles act when the button goes down, the lower ones when it comes up.
    for (int slot : {0, 1})
        connect(images[slot], &TileImage::Pressed, this,
                [this, slot](Qt::MouseButton button, QPoint) { ImageClick(slot, button); });
    for (int slot : {2, 3})
        connect(images[slot], &TileImage::Released, this,
                [this, slot](Qt::MouseButton button, QPoint) { ImageClick(slot, button); });
    for (int slot = 0; slot < 4; ++slot)
        connect(images[slot], &TileImage::Moved, this,
                [this, slot](QPoint pos) { ImageMouseMove(slot, pos); });

    connect(RxSlider1, &RxSlider::Change, this, [this](int value) { RxSlider1Change(value); });
    connect(RxSlider1, &RxSlider::Changed, this, [this] { RxSlider1Changed(); });

    Edit7->installEventFilter(this);
    Edit10->installEventFilter(this);
    connect(ButtonFind, &QPushButton::clicked, this, [this] { ButtonFindClick(); });
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == pad[kPadCentre] && event->type() == QEvent::MouseButtonPress) {
        SpeedButton5MouseDown(static_cast<QMouseEvent*>(event)->button());
        return true;
    }
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (field && (field == Edit7 || field == Edit10)) {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            // Keys that type nothing (arrows, Delete, Home) keep their usual editing meaning.
            if (key->text().isEmpty() || key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
                return false;
            return Edit7KeyPress(field, key->text().front());
        }
        // Putting the focus back on an out-of-range field takes it from the other one: that
        // is no leaving by the user, or two bad fields would hand the focus back and forth.
        if (event->type() == QEvent::FocusOut && !inputBlocked_ && !committingEntry_)
            Edit7Exit(field);
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::PanView(PanDirection direction) {
    viewUrls = ::PanView(viewUrls, prefixLength, direction);
    RefreshView();
}

void TForm1::ImageClick(int slot, Qt::MouseButton button) {
    viewUrls = ClickZoom(viewUrls, prefixLength, slot, button == Qt::RightButton);
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
    viewUrls = SliderZoom(viewUrls, prefixLength, RxSlider1->value());
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
    const KeyDecision decision =
        FilterCoordinateKey(FieldKind(field), field->text(), field->cursorPosition(), key);
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
        QMessageBox::critical(this, QStringLiteral("ошибки"), entry.error);
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
    const SearchView view = SearchViewFor(PrefixOf(viewUrls[0], prefixLength), found);
    viewUrls = view.view;
    markedTile = view.markedTile;
    markX = view.markX;
    markY = view.markY;
    RefreshView();
}
