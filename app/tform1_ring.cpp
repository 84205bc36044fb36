// SPDX-License-Identifier: GPL-3.0-or-later
// The tiles just outside the block, fetched into the cache once the block is in and while the
// person does nothing, so that a move by a tile finds its new tiles there. Only for template
// sources, whose several connections are otherwise idle: the demo source asks for nothing more.
#include "app/tform1.h"

#include <QCoreApplication>
#include <QScopedValueRollback>

void TForm1::RingHooks::PumpEvents() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TForm1::StartRing() {
    StopRing();
    const SourceDefinition definition = CurrentSource();
    if (definition.kind == SourceKind::Demo || CurrentWorkMode() == WorkMode::CacheOnly ||
        !isEnabled() || !isVisible())
        return;
    const ViewSource source = ShownViewSource();
    const ViewRefs refs = CurrentViewRefs();
    std::vector<TileRequest> tiles;
    for (const QString& letters : RingLetters(refs.Letters()[0], blockSize_))
        tiles.push_back(source.tiles->Request(refs.RefOf(0, letters)));
    if (tiles.empty())
        return;
    ring_ = std::make_unique<CacheAhead>(std::move(tiles), definition.connections, source, counters,
                                         ringHooks_);
    if (!ringWatch_)
        ringWatch_ = std::make_unique<InputWatch>(*this, [this] { StopRing(); });
    ringWatch_->Watch(true);
    ringTurn_.setSingleShot(true);
    ringTurn_.callOnTimeout(this, &TForm1::RingTurn, Qt::UniqueConnection);
    ringTurn_.start(0);
}

void TForm1::RingTurn() {
    if (!ring_)
        return;
    if (IsBusy()) // a job or a refresh has the connections
        return StopRing();
    bool more = false;
    {
        const QScopedValueRollback<bool> stepping(ringStepping_, true);
        more = ring_->Step();
    }
    if (!more || std::exchange(ringStopAsked_, false))
        StopRing();
    if (std::exchange(refreshAfterRing_, false))
        RefreshView();
    else if (ring_)
        ringTurn_.start(0); // the event loop, and with it the person's input, comes first
}

void TForm1::StopRing() {
    if (ringStepping_) {
        ringStopAsked_ = true; // the tile under way lands in the cache first
        return;
    }
    ringTurn_.stop();
    if (ringWatch_)
        ringWatch_->Watch(false);
    ring_.reset();
}
