// SPDX-License-Identifier: GPL-3.0-or-later
// The imagery source of the window: chosen on the settings tab, it decides where the view's
// tiles are asked for and kept, and which levels the view may show.
#include "app/tform1.h"

#include "app/status_panels.h"
#include "loader/source_services.h"
#include "tiles/tile_ref.h"
#include "tiles/view_moves.h"

#include <QCoreApplication>

SourceDefinition TForm1::CurrentSource() const {
    // Until the settings tab is built, its box is the source chosen last.
    const int index =
        settingsTab_.Built() ? SourceBox->currentIndex() : static_cast<int>(chosenSource_);
    if (index < 0 || index >= static_cast<int>(sources_.sources.size()))
        return DemoSource();
    return sources_.sources[static_cast<std::size_t>(index)];
}

bool TForm1::ChooseSource(const QString& name) {
    for (std::size_t i = 0; i < sources_.sources.size(); ++i) {
        if (sources_.sources[i].name.compare(name, Qt::CaseInsensitive) == 0) {
            chosenSource_ = i;
            if (settingsTab_.Built())
                SourceBox->setCurrentIndex(static_cast<int>(i));
            return true;
        }
    }
    return false;
}

void TForm1::SourceBoxSelect(int index) {
    (void)index;
    // Tiles of the new source show at once, so that no tile of the old one stays in view: at
    // the nearest level it has when it lacks the view's, which the status line then says.
    const int level = ViewLevel();
    const SourceDefinition source = CurrentSource();
    const int shown = source.NearestLevel(level);
    if (shown != level) {
        const ViewRefs refs = CurrentViewRefs();
        viewUrls = refs.Rebuilt(SliderZoom(refs.Letters(), shown));
    }
    RefreshView();
    if (shown != level)
        LevelAllowed(level);
}

bool TForm1::LevelAllowed(int level) {
    const SourceDefinition source = CurrentSource();
    if (source.ServesLevel(level))
        return true;
    // The panel of the download count, which the next refresh writes again.
    StatusB->setText(
        3, tr("нет уровня %1 (есть %2–%3)").arg(level).arg(source.minLevel).arg(source.maxLevel));
    return false;
}

HttpGet& TForm1::SourceHttp(const SourceDefinition& source) {
    if (source.kind == SourceKind::Demo) {
        sourceHttp_.reset();
        return IdHTTP1;
    }
    // Made again only when something it was made with changed, so that its connections stay
    // open from one view to the next.
    if (!sourceHttp_ || sourceHttpName_ != source.name || sourceHttpProxy_ != IdHTTP1.proxy()) {
        const FetchHooks hooks{
            .whileWaiting =
                [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); },
            .stop = nullptr};
        sourceHttp_.reset();
        sourceHttp_ = HttpGetFor(source, TransportSettingsWith(IdHTTP1.proxy()), hooks);
        sourceHttpName_ = source.name;
        sourceHttpProxy_ = IdHTTP1.proxy();
    }
    return *sourceHttp_;
}

ViewSource TForm1::CurrentViewSource() {
    const SourceDefinition source = CurrentSource();
    MakeSourceFolder(source, cacheRoot); // the user may have chosen another root
    return ViewSource{TileSourceFor(source, CurrentViewRefs(), cacheRoot), CurrentWorkMode(),
                      SourceHttp(source), &tileBuffers_};
}

ViewSource TForm1::ShownViewSource() {
    ViewSource shown = CurrentViewSource();
    shown.refresh = CurrentRefresh().ForView();
    return shown;
}

SourceRefresh& TForm1::CurrentRefresh() {
    const SourceDefinition source = CurrentSource();
    const int days = settingsTab_.Built() ? RefreshDaysUpDown->value() : held_.refreshDays;
    const std::optional<int> olderThanDays = days > 0 ? std::optional(days) : std::nullopt;
    if (!refresh_ || !refresh_->Serves(source, cacheRoot, olderThanDays)) {
        refresh_.reset(); // its index closed before another opens the same file
        refresh_.emplace(source, cacheRoot, olderThanDays);
    }
    return *refresh_;
}
