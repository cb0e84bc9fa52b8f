// How the colour list copes with a million entries: appending them at once (as
// opening a long colour list file does), moving one across the whole list, and
// painting the view scrolled to its end.
#include "editor/colourlist.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>
#include <QScrollBar>

#include <memory>

namespace {

constexpr int million = 1'000'000;

std::vector<ColourListEntry> entries(int count)
{
    std::vector<ColourListEntry> result(std::size_t(count),
                                        ColourListEntry{QStringLiteral("(255 128 000)"), 0x0080FF});
    return result;
}

void BM_AppendMillionToShownView(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto view = std::make_unique<ColourListView>();
        view->resize(140, 161);
        view->show();
        std::vector<ColourListEntry> rows = entries(million);
        state.ResumeTiming();
        view->colourModel()->append(std::move(rows));
        QApplication::processEvents(); // the view lays out the new rows
        const int scrollRange = view->verticalScrollBar()->maximum();
        state.PauseTiming();
        if (scrollRange < million)
            state.SkipWithError("the view did not lay the rows out");
        view.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AppendMillionToShownView)->Unit(benchmark::kMillisecond);

void BM_PaintScrolledThroughMillion(benchmark::State &state)
{
    ColourListView view;
    view.resize(140, 161);
    view.show();
    view.colourModel()->append(entries(million));
    QApplication::processEvents();
    QScrollBar *bar = view.verticalScrollBar();
    int value = 0;
    for (auto _ : state) {
        value = (value + bar->maximum() / 97) % (bar->maximum() + 1);
        bar->setValue(value);
        benchmark::DoNotOptimize(view.viewport()->grab());
    }
}
BENCHMARK(BM_PaintScrolledThroughMillion)->Unit(benchmark::kMicrosecond);

void BM_MoveFirstToLastOfMillion(benchmark::State &state)
{
    ColourListView view;
    view.colourModel()->append(entries(million));
    view.setCurrentIndex(view.colourModel()->index(0));
    for (auto _ : state)
        view.colourModel()->moveEntry(0, million - 1);
}
BENCHMARK(BM_MoveFirstToLastOfMillion)->Unit(benchmark::kMillisecond);

} // namespace
