// What a refresh of the window costs beside the decoding it cannot avoid: the four tiles
// of a level-2 view with real imagery, all in the cache. The parts are measured apart:
// decoding alone, loading and showing the tiles in a window that stays enabled, the whole
// refresh, and disabling and enabling the window around it.
#include "app/tform1.h"
#include "app/tile_image.h"
#include "bench/earth_tiles.h"
#include "fetch/jpeg_decode.h"
#include "tiles/view_moves.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

class NoNetwork : public HttpGet {
public:
    std::optional<HttpFailure> Get(const QString&, QByteArray&) override {
        return HttpFailure{0, {}, QStringLiteral("offline")};
    }
};

const QStringList kViewPaths = {"rq", "rr", "rs", "rt"};

// The four tiles' files, kept for the whole run.
const std::vector<QByteArray>& ViewTiles() {
    static const std::vector<QByteArray> tiles = [] {
        std::vector<QByteArray> jpegs;
        for (const QString& path : kViewPaths)
            jpegs.push_back(EarthTileJpeg(path));
        return jpegs;
    }();
    return tiles;
}

// A shown main window whose view is the four tiles, all in its cache.
class WarmWindow {
public:
    bool Open() {
        const ProgramHome programHome{home_.path() + '/'};
        QDir().mkpath(programHome.DefaultCacheRoot());
        for (int i = 0; i < kViewPaths.size(); ++i) {
            QFile file(programHome.DefaultCacheRoot() + kViewPaths[i] + ".jpg");
            if (ViewTiles()[i].isEmpty() || !file.open(QIODevice::WriteOnly))
                return false;
            file.write(ViewTiles()[i]);
        }
        form = std::make_unique<TForm1>(programHome);
        form->UseHttpForTesting(network_);
        form->show();
        form->viewUrls = ZoomIntoTile(form->viewUrls[0].left(form->prefixLength) + 'r');
        form->RefreshView();
        QCoreApplication::processEvents();
        form->counters = {}; // the default view shown first is not cached
        return true;
    }
    bool AllFromCache() const {
        return form->counters.receiveErrors + form->counters.badFileErrors == 0;
    }

    std::unique_ptr<TForm1> form;

private:
    QTemporaryDir home_;
    NoNetwork network_;
};

// The window's tile loop without its disabling and enabling.
class ShowInWindow : public ViewLoadHooks {
public:
    explicit ShowInWindow(TForm1& form) : form_(form) {}
    void PumpEvents() override { QCoreApplication::processEvents(); }
    void ShowErrorCounts() override {}
    bool CancelRequested() override { return false; }
    void SleepMs(int) override {}
    void ShowTile(int slot, const QImage& image) override {
        form_.images.at(slot)->setPixmap(QPixmap::fromImage(image));
    }

private:
    TForm1& form_;
};

void DecodeViewTiles(benchmark::State& state) {
    QImage image;
    for (auto _ : state)
        for (const QByteArray& jpeg : ViewTiles())
            benchmark::DoNotOptimize(DecodeJpeg(jpeg, image));
    state.counters["bytes_per_tile"] = static_cast<double>(ViewTiles()[0].size());
}
BENCHMARK(DecodeViewTiles);

void LoadAndShowViewTiles(benchmark::State& state) {
    WarmWindow window;
    if (!window.Open())
        return state.SkipWithError("no Earth picture or no cache");
    TForm1& form = *window.form;
    ShowInWindow hooks(form);
    const ViewSource source{form.cacheRoot, form.prefixLength, WorkMode::CacheAndInternet,
                            form.IdHTTP1};
    for (auto _ : state) {
        LoadView(form.viewUrls, source, std::nullopt, form.counters, hooks);
        QCoreApplication::processEvents();
    }
    if (!window.AllFromCache())
        state.SkipWithError("the view did not come from the cache");
}
BENCHMARK(LoadAndShowViewTiles);

// The handler's refresh and the paint that the event loop does after it returns.
void RefreshViewWarmCache(benchmark::State& state) {
    WarmWindow window;
    if (!window.Open())
        return state.SkipWithError("no Earth picture or no cache");
    for (auto _ : state) {
        window.form->RefreshView();
        QCoreApplication::processEvents();
    }
    if (!window.AllFromCache())
        state.SkipWithError("the view did not come from the cache");
}
BENCHMARK(RefreshViewWarmCache);

// What taking the window's input away and giving it back costs in repainting.
void DisableAndEnableWindow(benchmark::State& state) {
    WarmWindow window;
    if (!window.Open())
        return state.SkipWithError("no Earth picture or no cache");
    for (auto _ : state) {
        window.form->DisableWindow();
        QCoreApplication::processEvents();
        window.form->EnableWindow();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(DisableAndEnableWindow);

} // namespace
