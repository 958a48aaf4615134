// Cost of the Bevelo work that runs often: a counter button's caption change
// (once per receive event for the byte counter; drawn at the next frame), a
// repaint with its drawing, a click, and
// creating all of the window's buttons from the stored layout at start-up.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <QWidget>

#include "app/ButtonLayoutResource.h"
#include "widgets/Bevelo.h"
#include "widgets/BeveloLayout.h"
#include "widgets/BeveloPropertyBag.h"

namespace {

// A shown counter like the window's byte counters: style 8, 89 x 28 pixels.
struct Counter {
    Counter() {
        window.resize(200, 100);
        BeveloPropertyBag bag;
        bag.writeInt(QStringLiteral("Style"), 8, 3);
        bag.writeString(QStringLiteral("Caption"), QStringLiteral("0"), QString());
        button = new Bevelo(QStringLiteral("Bevelo6"), &window);
        button->setGeometry(72, 264, 89, 28);
        button->loadProperties(bag);
        window.show();
        QApplication::processEvents();
    }
    QWidget window;
    Bevelo* button = nullptr;
};

void BM_CounterCaptionChange(benchmark::State& state) {
    Counter c;
    int count = 0;
    for (auto _ : state) {
        count += 64;
        c.button->SetCaption(QString::number(count));
    }
    QApplication::processEvents();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CounterCaptionChange);

// Refresh and the drawing it leads to (what one frame of a changing counter costs).
void BM_RefreshAndDraw(benchmark::State& state) {
    Counter c;
    for (auto _ : state) {
        c.button->Refresh();
        benchmark::DoNotOptimize(c.button->surface().constBits());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RefreshAndDraw);

void BM_LeftClick(benchmark::State& state) {
    Counter c;
    for (auto _ : state) QTest::mouseClick(c.button, Qt::LeftButton);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LeftClick);

void BM_CreateWindowButtonsFromLayout(benchmark::State& state) {
    initButtonLayoutResource();
    const auto entries = bevelo::loadButtonLayout();
    for (auto _ : state) {
        QWidget container;
        const auto buttons =
            bevelo::createButtons(entries, [&](const QString&) { return &container; });
        benchmark::DoNotOptimize(buttons.size());
    }
}
BENCHMARK(BM_CreateWindowButtonsFromLayout);

}  // namespace
