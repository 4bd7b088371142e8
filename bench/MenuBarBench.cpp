// One tray icon frame per skin: the animation step plus drawing at 2x, as each rendered frame costs;
// and what the D-Bus item does per NewIcon (both pixmap sizes drawn and converted).
#include "core/menubar/MenuBarIconRenderer.h"
#include "linux/CairoCanvas.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using vimbo::menubar::MenuBarAudioFrame;
using vimbo::menubar::MenuBarSkin;

MenuBarAudioFrame loudFrame(int k) {
    double t = k / 60.0;
    return {0.5 + 0.3 * std::sin(t * 3), 0.6 + 0.3 * std::sin(t * 7), 0.4, 0.3 + 0.2 * std::sin(t * 13), 0.5,
            k % 30 == 0 ? 1.0 : 0.0};
}

void frame(benchmark::State& state, MenuBarSkin skin) {
    vimbo::menubar::MenuBarIconRenderer renderer;
    vimbo::linuxdesktop::CairoCanvas canvas(18, 18, 2, vimbo::platform::CanvasColor::black(1));
    int k = 0;
    for (auto _ : state) {
        canvas.render(renderer.image(skin, loudFrame(k++), 1.0 / 60));
        benchmark::DoNotOptimize(canvas.surface());
    }
}

void BM_SlimeFrame(benchmark::State& state) {
    frame(state, MenuBarSkin::slime);
}
void BM_DustFrame(benchmark::State& state) {
    frame(state, MenuBarSkin::dust);
}
void BM_DandelionFrame(benchmark::State& state) {
    frame(state, MenuBarSkin::dandelion);
}

// The animation step alone, without drawing.
void BM_DustAdvanceOnly(benchmark::State& state) {
    vimbo::menubar::MenuBarIconRenderer renderer;
    int k = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(renderer.image(MenuBarSkin::dust, loudFrame(k++), 1.0 / 60));
}

// Per NewIcon the status item draws the 36 and 18 pixel pixmaps and converts them to straight ARGB.
void BM_DustPixmapUpdate(benchmark::State& state) {
    vimbo::menubar::MenuBarIconRenderer renderer;
    vimbo::linuxdesktop::CairoCanvas large(18, 18, 2, vimbo::platform::CanvasColor::black(1));
    vimbo::linuxdesktop::CairoCanvas small(18, 18, 1, vimbo::platform::CanvasColor::black(1));
    int k = 0;
    for (auto _ : state) {
        auto image = renderer.image(MenuBarSkin::dust, loudFrame(k++), 1.0 / 60);
        large.render(image);
        small.render(image);
        benchmark::DoNotOptimize(large.straightArgbBytes());
        benchmark::DoNotOptimize(small.straightArgbBytes());
    }
}

} // namespace

BENCHMARK(BM_SlimeFrame);
BENCHMARK(BM_DustFrame);
BENCHMARK(BM_DandelionFrame);
BENCHMARK(BM_DustAdvanceOnly);
BENCHMARK(BM_DustPixmapUpdate);
