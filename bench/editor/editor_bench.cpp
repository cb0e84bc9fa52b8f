// The main window's display synchroniser, measured on the real window: once per
// pointer move while picking it must stay far below a frame.
#include "core/colour.h"
#include "editor/tprog.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <benchmark/benchmark.h>


namespace {

// Deliberately never deleted: a window must not outlive the application object,
// which main() destroys before static objects go.
Tprog &window()
{
    static Tprog *const shown = [] {
        auto *created = new Tprog;
        created->show();
        return created;
    }();
    return *shown;
}

// A walk through the colour cube in which every step changes all three channels,
// so that nearly all 24 texts change.
tonfang::Rgb colourNumber(std::uint32_t step)
{
    const std::uint32_t mixed = step * 2654435761u;
    return {std::uint8_t(mixed), std::uint8_t(mixed >> 8), std::uint8_t(mixed >> 16)};
}

void RGBtoALL_changingColour(benchmark::State &state)
{
    Tprog &prog = window();
    std::uint32_t step = 0;
    for (auto _ : state)
        prog.RGBtoALL(colourNumber(++step));
}
BENCHMARK(RGBtoALL_changingColour);

void RGBtoALL_sameColour(benchmark::State &state)
{
    Tprog &prog = window();
    prog.RGBtoALL({255, 128, 0});
    for (auto _ : state)
        prog.RGBtoALL({255, 128, 0});
}
BENCHMARK(RGBtoALL_sameColour);

// The last digit of e_hex typed over, alternating between two colours: the key
// event, the hex handler and the synchroniser writing the 23 other fields.
void typedHexDigit(benchmark::State &state)
{
    Tprog &prog = window();
    QLineEdit *hex = prog.e_hex;
    hex->setText(QStringLiteral("#FF8000"));
    bool bright = false;
    for (auto _ : state) {
        hex->setSelection(6, 1);
        QTest::keyClick(hex, bright ? Qt::Key_F : Qt::Key_0);
        bright = !bright;
    }
    if (prog.e_tcolor->text().isEmpty())
        state.SkipWithError("the displays did not follow");
}
BENCHMARK(typedHexDigit);

} // namespace
