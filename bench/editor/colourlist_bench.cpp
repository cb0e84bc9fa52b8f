// How the colour list copes with long lists: what a million entries cost in
// memory, with the view shown; 26 million entries (a 200 MB file) in memory and
// the time of a scroll step, a Delete and one appended entry among them; the
// memory given back by clearing; and, at a million, appending at once (as
// opening a file does), moving one entry across the list and painting the view
// scrolled through it.
#include "editor/colourlist.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QScrollBar>

#include <malloc.h>

#include <chrono>
#include <memory>

using tonfang::ColourBlock;

namespace {

constexpr int million = 1'000'000;
constexpr int huge = 26'000'000;

// Resident memory of the process now, in megabytes.
double residentMegabytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? double(fields[1].toLongLong()) * 4096.0 / (1024.0 * 1024.0) : 0;
}

// Colours spread over the whole range, handed over in pieces as a file reader
// hands them over.
std::vector<ColourBlock> colourBlocks(int count)
{
    std::vector<ColourBlock> blocks;
    for (int start = 0; start < count; start += int(ColourListModel::blockCapacity)) {
        ColourBlock &block = blocks.emplace_back();
        const int end = std::min(count, start + int(ColourListModel::blockCapacity));
        block.reserve(std::size_t(end - start));
        for (int i = start; i < end; ++i)
            block.push_back(tonfang::ColourNumber((unsigned(i) * 2654435761u) & 0xFFFFFF));
    }
    return blocks;
}

void fill(ColourListModel &model, int count)
{
    model.appendBlocks(colourBlocks(count));
}

std::unique_ptr<ColourListView> shownView()
{
    auto view = std::make_unique<ColourListView>();
    view->resize(140, 161);
    view->show();
    QApplication::processEvents();
    return view;
}

void settle(ColourListView &view)
{
    QApplication::processEvents();
    benchmark::DoNotOptimize(view.viewport()->grab());
}

// Resident memory above an empty shown list once a million entries are in it.
void BM_MillionEntriesMemory(benchmark::State &state)
{
    for (auto _ : state) {
        auto view = shownView();
        settle(*view);
        malloc_trim(0);
        const double empty = residentMegabytes();
        fill(*view->colourModel(), million);
        settle(*view);
        view->scrollToBottom();
        settle(*view);
        state.counters["added_MB"] = residentMegabytes() - empty;
    }
}
BENCHMARK(BM_MillionEntriesMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// One list of 26 million entries for the cases below, made once. It is never
// destroyed: a widget must go before the application, which outlives statics.
struct HugeList {
    double beforeGrowth = 0;
    double filled = 0;
    std::unique_ptr<ColourListView> view;
};
HugeList &hugeList()
{
    static HugeList *const list = [] {
        auto *made = new HugeList;
        made->view = shownView();
        settle(*made->view);
        malloc_trim(0);
        made->beforeGrowth = residentMegabytes();
        fill(*made->view->colourModel(), huge);
        settle(*made->view);
        made->filled = residentMegabytes();
        return made;
    }();
    return *list;
}

void BM_HugeListMemory(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(hugeList().view.get());
    state.counters["resident_MB"] = hugeList().filled;
}
BENCHMARK(BM_HugeListMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// Times one step among 26 million rows, with the repaint it causes; the
// step is undone untimed where it would change the list for the next one.
template <typename Step, typename Undo>
void timeSteps(benchmark::State &state, Step step, Undo undo)
{
    ColourListView &view = *hugeList().view;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        step(view);
        settle(view);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        undo(view);
    }
}

void BM_HugeListScrollStep(benchmark::State &state)
{
    hugeList().view->verticalScrollBar()->setValue(huge / 2 * 16);
    timeSteps(
        state,
        [](ColourListView &view) {
            view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        },
        [](ColourListView &) {});
}

void deleteAt(benchmark::State &state, int row)
{
    timeSteps(
        state,
        [row](ColourListView &view) {
            view.setCurrentIndex(view.colourModel()->index(row));
            view.colourModel()->removeEntry(row);
        },
        [](ColourListView &view) {
            view.colourModel()->append(QStringLiteral("(000 000 000)"), 0);
        });
}

void BM_HugeListDeleteTop(benchmark::State &state)
{
    hugeList().view->scrollToTop();
    deleteAt(state, 0);
}

void BM_HugeListDeleteMiddle(benchmark::State &state)
{
    hugeList().view->scrollTo(hugeList().view->colourModel()->index(huge / 2));
    deleteAt(state, huge / 2);
}

void BM_HugeListAppendOne(benchmark::State &state)
{
    hugeList().view->scrollToBottom();
    timeSteps(
        state,
        [](ColourListView &view) {
            view.colourModel()->append(QStringLiteral("(012 200 007)"), 12 + 200 * 256 + 7 * 65536);
        },
        [](ColourListView &view) { view.colourModel()->removeEntry(view.colourModel()->count() - 1); });
}

BENCHMARK(BM_HugeListScrollStep)->UseManualTime()->Iterations(20)->Repetitions(5)
    ->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HugeListDeleteTop)->UseManualTime()->Iterations(20)->Repetitions(5)
    ->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HugeListDeleteMiddle)->UseManualTime()->Iterations(20)->Repetitions(5)
    ->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HugeListAppendOne)->UseManualTime()->Iterations(20)->Repetitions(5)
    ->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

// Resident memory after clearing, above what it was before the list grew.
void BM_HugeListCleared(benchmark::State &state)
{
    HugeList &list = hugeList();
    for (auto _ : state) {
        list.view->colourModel()->clear();
        settle(*list.view);
    }
    state.counters["above_before_MB"] = residentMegabytes() - list.beforeGrowth;
    list.view.reset();
}
BENCHMARK(BM_HugeListCleared)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_AppendMillionToShownView(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto view = shownView();
        std::vector<ColourBlock> blocks = colourBlocks(million);
        state.ResumeTiming();
        view->colourModel()->appendBlocks(std::move(blocks));
        QApplication::processEvents();
        const int scrollRange = view->verticalScrollBar()->maximum();
        state.PauseTiming();
        if (scrollRange < million)
            state.SkipWithError("the view did not take the rows in");
        view.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AppendMillionToShownView)->Unit(benchmark::kMillisecond);

void BM_PaintScrolledThroughMillion(benchmark::State &state)
{
    auto view = shownView();
    fill(*view->colourModel(), million);
    QApplication::processEvents();
    QScrollBar *bar = view->verticalScrollBar();
    int value = 0;
    for (auto _ : state) {
        value = (value + bar->maximum() / 97) % (bar->maximum() + 1);
        bar->setValue(value);
        benchmark::DoNotOptimize(view->viewport()->grab());
    }
}
BENCHMARK(BM_PaintScrolledThroughMillion)->Unit(benchmark::kMicrosecond);

void BM_MoveFirstToLastOfMillion(benchmark::State &state)
{
    ColourListView view;
    fill(*view.colourModel(), million);
    view.setCurrentIndex(view.colourModel()->index(0));
    for (auto _ : state)
        view.colourModel()->moveEntry(0, million - 1);
}
BENCHMARK(BM_MoveFirstToLastOfMillion)->Unit(benchmark::kMillisecond);

} // namespace
