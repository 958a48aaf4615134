// Cost of one full repaint of a 130 x 28 Bevelo button, per style and state,
// with a caption, and with a 16-pixel icon (plain, masked and greyed paths).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include "widgets/BeveloFields.h"
#include "widgets/paint/BeveloPainter.h"

namespace {

BeveloProperties buttonProps(int style) {
    BeveloProperties props;
    props.Style = style;
    props.NonThemeStyle = 5;
    props.Caption = QStringLiteral("Read Data");
    return props;
}

void repaintLoop(benchmark::State& bench, BeveloProperties props, int state) {
    BeveloRuntime rt;
    rt.shown = true;
    rt.userMode = true;
    props.Enabled = state != StateDisabled;
    QImage surface(130, 28, QImage::Format_RGB32);
    const QPalette palette = QApplication::palette();
    for (auto _ : bench) {
        rt.state = state;
        bevelo::refresh(surface, props, rt, palette);
        benchmark::DoNotOptimize(surface.constBits());
    }
}

void BM_Repaint(benchmark::State& bench) {
    repaintLoop(bench, buttonProps(static_cast<int>(bench.range(0))),
                static_cast<int>(bench.range(1)));
}
BENCHMARK(BM_Repaint)
    ->ArgNames({"style", "state"})
    ->ArgsProduct({benchmark::CreateDenseRange(0, 10, 1), {1, 2, 3, 4}})
    ->Unit(benchmark::kMicrosecond);

// Icon paths on style 4: 0 plain, 1 mask colour, 2 plain and disabled (grey);
// state 2 adds the hot shadow.
void BM_RepaintWithIcon(benchmark::State& bench) {
    BeveloProperties props = buttonProps(4);
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(qRgb(200, 40, 40));
    for (int i = 0; i < 16; ++i) icon.setPixel(i, i, qRgb(0xC0, 0xC0, 0xC0));
    props.Icon = icon;
    props.IconAlign = 1;
    props.MaskColor = 0xC0C0C0;
    const int path = static_cast<int>(bench.range(0));
    props.UseMaskColor = path == 1;
    const int state = path == 2 ? StateDisabled : static_cast<int>(bench.range(1));
    repaintLoop(bench, props, state);
}
BENCHMARK(BM_RepaintWithIcon)
    ->ArgNames({"path", "state"})
    ->ArgsProduct({{0, 1, 2}, {1, 2}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
