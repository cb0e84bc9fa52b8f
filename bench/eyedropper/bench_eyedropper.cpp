// One move of the eyedropper (pointer query, pixel read, RGBtoALL) against the
// two bare X requests it cannot do without, and against Qt's 1 x 1 screen grab;
// and one move with the magnifier (pointer query, one 11 x 11 read, RGBtoALL,
// the magnifier moved and repainted) against one without.
// The pointer is warped between a red and a blue pixel before each iteration
// of every benchmark, so each read sees a new colour and the displays change.

#include "editor/tprog.h"
#include "picking/magnifier.h"
#include "picking/screenpixel.h"

#include <QApplication>
#include <QCursor>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <benchmark/benchmark.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

using tonfang::Magnifier;
using tonfang::ScreenPixelReader;

namespace {

xcb_connection_t *connection()
{
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

xcb_window_t root()
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection())).data->root;
}

// Two windows of known colour side by side at the top left of the screen.
struct Targets {
    QWidget redWindow, blueWindow;
    Targets()
    {
        for (auto [window, colour, x] : {std::tuple{&redWindow, Qt::red, 0},
                                         std::tuple{&blueWindow, Qt::blue, 40}}) {
            window->setWindowFlags(Qt::FramelessWindowHint);
            window->setAutoFillBackground(true);
            QPalette palette;
            palette.setColor(QPalette::Window, colour);
            window->setPalette(palette);
            window->setGeometry(x, 0, 40, 40);
            window->show();
        }
        QApplication::processEvents();
    }
};

std::unique_ptr<Targets> targets;
std::unique_ptr<Tprog> prog;
int warps = 0;

// Moves the pointer to the other target; the request is only queued and goes
// out with the next request of the measured work.
void warpPointer()
{
    const int x = (++warps % 2) ? 20 : 60;
    xcb_warp_pointer(connection(), XCB_NONE, root(), 0, 0, 0, 0, std::int16_t(x), 20);
}

void BM_EyedropperMove(benchmark::State &state)
{
    auto reader = ScreenPixelReader::forApplication();
    reader->refreshMonitors();
    for (auto _ : state) {
        warpPointer();
        const auto pixel = reader->pixelUnderPointer();
        if (!pixel) {
            state.SkipWithError("no pixel");
            break;
        }
        prog->RGBtoALL(*pixel);
    }
}
BENCHMARK(BM_EyedropperMove);

void BM_EyedropperMoveMagnified(benchmark::State &state)
{
    auto reader = ScreenPixelReader::forApplication();
    reader->refreshMonitors();
    // On the screen before the first move, so every move really draws.
    Magnifier magnifier;
    magnifier.showSquare(*reader->squareUnderPointer());
    while (!magnifier.isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    for (auto _ : state) {
        warpPointer();
        const auto square = reader->squareUnderPointer();
        if (!square || !square->centre()) {
            state.SkipWithError("no pixel");
            break;
        }
        prog->RGBtoALL(*square->centre());
        // Moves the window and draws the square; the drawing is on the server
        // before the next move's requests are answered.
        magnifier.showSquare(*square);
    }
}
BENCHMARK(BM_EyedropperMoveMagnified);

void BM_PixelRead(benchmark::State &state)
{
    auto reader = ScreenPixelReader::forApplication();
    reader->refreshMonitors();
    for (auto _ : state) {
        warpPointer();
        benchmark::DoNotOptimize(reader->pixelUnderPointer());
    }
}
BENCHMARK(BM_PixelRead);

void BM_BareXRequests(benchmark::State &state)
{
    xcb_connection_t *c = connection();
    const xcb_window_t r = root();
    for (auto _ : state) {
        warpPointer();
        auto *pointer = xcb_query_pointer_reply(c, xcb_query_pointer(c, r), nullptr);
        auto *image = xcb_get_image_reply(
            c,
            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, r, pointer->root_x, pointer->root_y, 1,
                          1, ~0u),
            nullptr);
        benchmark::DoNotOptimize(xcb_get_image_data(image)[0]);
        std::free(image);
        std::free(pointer);
    }
}
BENCHMARK(BM_BareXRequests);

void BM_QtGrabWindow1x1(benchmark::State &state)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    for (auto _ : state) {
        warpPointer();
        const QPoint at = QCursor::pos();
        const QImage image = screen->grabWindow(0, at.x(), at.y(), 1, 1).toImage();
        benchmark::DoNotOptimize(image.pixel(0, 0));
    }
}
BENCHMARK(BM_QtGrabWindow1x1);

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    targets = std::make_unique<Targets>();
    prog = std::make_unique<Tprog>();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    prog.reset();
    targets.reset();
    return 0;
}
