// What opening and saving a colour list file costs for 10,000, 100,000 and
// 1,000,000 lines: time, and the peak memory of the process (maxrss), also
// counted above the process's own start. Each size is best run in a process
// of its own (run.sh does), since the peak of a process only ever grows.
// Opening and saving at 1 and 26 million lines, in the locale's encoding and
// in UTF-8 with a mark, against the floor: a bare read loop over the same file.
#include "editor/colourlist.h"
#include "listfile/colourlistfile.h"
#include "listfile/colourlistreader.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>

#include <sys/resource.h>

using tonfang::ColourBlock;
using tonfang::ColourListEntry;
using tonfang::ColourListSnapshot;

namespace {

double startPeak = 0; // the process right after start-up, before any case

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

// Where the large files live: a folder kept between runs when named (run.sh
// does), so that each process does not write them anew.
QString largeFilePath(const QString &name)
{
    const QString kept = qEnvironmentVariable("TONFANG_BENCH_FILES");
    return kept.isEmpty() ? folder().filePath(name) : kept + QLatin1Char('/') + name;
}

std::vector<ColourListEntry> entries(int count)
{
    std::vector<ColourListEntry> result;
    result.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        const int colour = (i * 2654435761u) & 0xFFFFFF; // spread over all colours
        result.push_back({QStringLiteral("(000 000 000)"), colour});
    }
    return result;
}

// A colour list file of `lines` lines, written once per size line by line, so
// that making it leaves no peak of its own.
QString fileOf(int lines)
{
    const QString name = folder().filePath(QStringLiteral("list%1.txt").arg(lines));
    QFile file(name);
    if (file.exists() || !file.open(QIODevice::WriteOnly))
        return name;
    for (int i = 0; i < lines; ++i) {
        const unsigned colour = (i * 2654435761u) & 0xFFFFFF;
        file.write(QByteArray::number(colour, 16).rightJustified(6, '0').toUpper() + "\r\n");
    }
    return name;
}

void reportMemory(benchmark::State &state)
{
    state.counters["peak_MB"] = peakMegabytes();
    state.counters["above_start_MB"] = peakMegabytes() - startPeak;
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Opening: read, decode and parse the file, then append all its entries to a
// list shown on screen, which lays the new rows out.
void BM_OpenColourListFile(benchmark::State &state)
{
    const int lines = int(state.range(0));
    const QString file = fileOf(lines);
    for (auto _ : state) {
        state.PauseTiming();
        auto view = std::make_unique<ColourListView>();
        view->resize(140, 161);
        view->show();
        QApplication::processEvents();
        state.ResumeTiming();

        tonfang::appendColourListFile(*view->colourModel(), file);
        QApplication::processEvents();

        state.PauseTiming();
        if (view->colourModel()->count() != lines)
            state.SkipWithError("not every line was read");
        view.reset();
        state.ResumeTiming();
    }
    reportMemory(state);
}

// Saving: build the text, encode it and write it through a temporary file.
void BM_SaveColourListFile(benchmark::State &state)
{
    const int lines = int(state.range(0));
    ColourListModel model;
    model.append(entries(lines));
    const ColourListSnapshot list = model.snapshot();
    const QString file = folder().filePath(QStringLiteral("saved%1.txt").arg(lines));
    for (auto _ : state) {
        if (!tonfang::saveColourListFile(list, file))
            state.SkipWithError("the file was refused");
    }
    if (QFile(file).size() != qint64(lines) * 8)
        state.SkipWithError("the file has the wrong size");
    reportMemory(state);
}

// One scroll step and repaint of the shown list after a million lines were
// opened: what the user feels when scrolling.
void BM_ScrollAfterOpeningMillion(benchmark::State &state)
{
    const QString file = fileOf(1'000'000);
    ColourListView view;
    view.resize(140, 161);
    view.show();
    tonfang::appendColourListFile(*view.colourModel(), file);
    QApplication::processEvents();
    QScrollBar *bar = view.verticalScrollBar();
    const int range = bar->maximum();
    if (range <= 0)
        state.SkipWithError("the list cannot scroll");
    int position = 0;
    for (auto _ : state) {
        position = int((position + 7919LL * 16) % (range + 1));
        bar->setValue(position);
        view.viewport()->repaint();
    }
    state.counters["peak_MB"] = peakMegabytes();
}

// A file of `lines` colour lines in the locale's encoding, or in UTF-8 with a
// mark (the same bytes behind it), written in large pieces.
QString streamFileOf(int lines, bool utf8Mark)
{
    const QString name = largeFilePath(
        QStringLiteral("stream%1%2.txt").arg(lines).arg(utf8Mark ? "-utf8" : ""));
    QFile file(name);
    if (file.exists() || !file.open(QIODevice::WriteOnly))
        return name;
    if (utf8Mark)
        file.write("\xEF\xBB\xBF");
    QByteArray piece;
    for (int i = 0; i < lines; ++i) {
        const unsigned colour = (i * 2654435761u) & 0xFFFFFF;
        piece += QByteArray::number(colour, 16).rightJustified(6, '0').toUpper() + "\r\n";
        if (piece.size() >= (1 << 20) || i + 1 == lines) {
            file.write(piece);
            piece.clear();
        }
    }
    return name;
}

// The floor: reading the same file in the reader's reads, doing nothing with
// the bytes. Registered before the stream, so that it warms the cache for it.
void BM_ReadFloor(benchmark::State &state)
{
    const QString name = streamFileOf(int(state.range(0)), state.range(1) != 0);
    QByteArray buffer(tonfang::ColourListReadOptions().readBytes, Qt::Uninitialized);
    for (auto _ : state) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("the file cannot be opened");
        qint64 total = 0;
        for (qint64 count; (count = file.read(buffer.data(), buffer.size())) > 0;)
            total += count;
        benchmark::DoNotOptimize(total);
    }
}

// The process's resident memory now, in megabytes.
double residentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
    return 0;
}

// Opening a large file as the window does: the streaming reader, its blocks
// kept aside and appended in one step to a shown list. kept_MB is what the
// list holds afterwards, cleared_MB what is left of it once cleared, and
// peak_over_kept_MB how far the peak while opening rose above the kept list.
void BM_OpenLargeColourListFile(benchmark::State &state)
{
    const int lines = int(state.range(0));
    const QString name = streamFileOf(lines, state.range(1) != 0);
    double kept = 0, cleared = 0;
    const double before = residentMegabytes();
    for (auto _ : state) {
        state.PauseTiming();
        ColourListView view;
        view.resize(140, 161);
        view.show();
        QApplication::processEvents();
        state.ResumeTiming();

        tonfang::appendColourListFile(*view.colourModel(), name);
        QApplication::processEvents();

        state.PauseTiming();
        if (view.colourModel()->count() != lines)
            state.SkipWithError("not every line was read");
        kept = residentMegabytes() - before;
        view.colourModel()->clear();
        cleared = residentMegabytes() - before;
        state.ResumeTiming();
    }
    reportMemory(state);
    state.counters["kept_MB"] = kept;
    state.counters["cleared_MB"] = cleared;
    state.counters["peak_over_kept_MB"] = peakMegabytes() - startPeak - kept;
}

// Saving a large list: from the list's snapshot, through the atomic save.
void BM_SaveLargeColourListFile(benchmark::State &state)
{
    const int lines = int(state.range(0));
    ColourListModel model;
    tonfang::ColourListReadHooks hooks;
    std::vector<ColourBlock> blocks;
    hooks.deliver = [&blocks](ColourBlock &&block) { blocks.push_back(std::move(block)); };
    tonfang::readColourListFile(streamFileOf(lines, false), hooks);
    model.appendBlocks(std::move(blocks));
    const ColourListSnapshot list = model.snapshot();
    const QString file = largeFilePath(QStringLiteral("saved%1.txt").arg(lines));
    for (auto _ : state) {
        if (!tonfang::saveColourListFile(list, file))
            state.SkipWithError("the file was refused");
    }
    if (QFile(file).size() != qint64(lines) * 8)
        state.SkipWithError("the file has the wrong size");
    QFile::remove(file);
    reportMemory(state);
}

BENCHMARK(BM_OpenColourListFile)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveColourListFile)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollAfterOpeningMillion)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadFloor)->ArgsProduct({{1'000'000, 26'000'000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenLargeColourListFile)->ArgsProduct({{1'000'000, 26'000'000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveLargeColourListFile)->Arg(1'000'000)->Arg(26'000'000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    startPeak = peakMegabytes();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
