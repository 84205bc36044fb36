// SPDX-License-Identifier: GPL-3.0-or-later
// What a refresh of the window costs beside the decoding it cannot avoid: the four tiles
// of a level-2 view with real imagery, all in the cache. The parts are measured apart:
// decoding alone, loading and showing the tiles in a window that stays enabled, the whole
// refresh (with its decoding reference beside it), and disabling and enabling the window as
// a job does.
#include "app/tform1.h"
#include "app/tile_image.h"
#include "app/tile_pixmap.h"
#include "bench/earth_tiles.h"
#include "image/jpeg_decode.h"
#include "tiles/view_moves.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>

namespace {

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
        form->RadioButton1->setChecked(true); // cache only: the network is never asked
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
};

// The window's tile loop without its disabling and enabling.
class ShowInWindow : public ViewLoadHooks {
public:
    explicit ShowInWindow(TForm1& form) : form_(form) {}
    void PumpEvents() override { QCoreApplication::processEvents(); }
    void ShowErrorCounts() override {}
    bool CancelRequested() override { return false; }
    void SleepMs(int) override {}
    void ShowTile(int slot, const TilePixels& image) override {
        form_.images.at(slot)->setPixmap(TilePixmap(image));
    }

private:
    TForm1& form_;
};

double MicrosecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
        .count();
}

// The mean time of decoding the view's four tiles as the view does, over the given number of
// rounds.
double DecodeMicroseconds(int rounds) {
    return ViewDecodeSeconds(ViewTiles(), rounds) * 1e6;
}

void DecodeViewTiles(benchmark::State& state) {
    TilePixels image;
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
    const ViewSource source{form.CurrentViewRefs().Source(form.cacheRoot), form.CurrentWorkMode(),
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
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        window.form->RefreshView();
        QCoreApplication::processEvents();
    }
    const double refreshUs = MicrosecondsSince(start) / static_cast<double>(state.iterations());
    if (!window.AllFromCache())
        state.SkipWithError("the view did not come from the cache");
    // Its reference from the same run: decoding the same four tiles, which no refresh avoids.
    const double decodeUs = DecodeMicroseconds(200);
    state.counters["decode_us"] = decodeUs;
    state.counters["refresh_us"] = refreshUs;
    state.counters["x_decode"] = refreshUs / decodeUs; // the goal is at most 2
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
