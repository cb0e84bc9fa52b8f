#pragma once
// What the Wayland tests share: the private compositor that run_wayland.sh
// started (outputs set through swaymsg, grim as the ground truth), the hand
// (a virtual pointer and wtype), pictures for the background and the one-shot
// pick as its own program.

#include "core/colour.h"
#include "tests/support/eventually.h"

#include <QImage>
#include <QPointF>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>

namespace waylandtest {

// Runs a program to its end; false when it could not run or did not exit 0.
bool run(const QString &program, const QStringList &arguments, QByteArray *output = nullptr);

// One sway command, such as "output HEADLESS-1 scale 2"; true when it succeeded.
bool sway(const QString &command);

// An output as the layout places it: its logical rectangle.
struct Output {
    QString name;
    QRect layout;
};
QList<Output> outputs();
QRect layoutBounds();

// What grim reads in a rectangle of the layout, at the largest output scale.
QImage grab(const QRect &layout);
tonfang::Rgb grabPixel(QPoint layout);
// The output's pixels in its upright orientation: at an integer scale, the
// device pixels, as a picker must read them.
QImage grabOutput(const QString &name);

// A picture in a folder the compositor can read; its quadrants are these
// colours. No byte of them is a white-space character: the wlroots portal
// reads its pixel as text and skips those.
inline constexpr tonfang::Rgb quadrantColours[4] = {
    {0xE0, 0x30, 0x30}, {0x30, 0xC0, 0x30}, {0x30, 0x50, 0xE0}, {0xF0, 0xD0, 0x40}};
QString quadrantPicture();
// A picture whose every pixel differs from its neighbours within 16.
QString pixelPatternPicture(QSize size);
tonfang::Rgb pixelPatternColour(QPoint pixel);

// The pointer: a virtual pointer that stays plugged in.
class Pointer {
public:
    Pointer();
    ~Pointer();
    Pointer(const Pointer &) = delete;
    Pointer &operator=(const Pointer &) = delete;

    // Each returns once the compositor has received it.
    bool moveTo(QPointF layout);
    bool button(int code, bool down);
    bool click(int code = leftButton);

    static constexpr int leftButton = 272, rightButton = 273;

private:
    bool send(const QByteArray &command);
    QProcess m_process;
};

// wtype with a delay between keys: each argument a key name, such as Escape;
// "shift+Left" holds Shift over the key.
bool typeKeys(const QStringList &keys);

// Starts `tonfang --pick` with the arguments and NAME=value changes to the
// environment; in a folder that selects English texts.
void startPick(QProcess &process, const QStringList &arguments,
               const QStringList &environment = {});
// Waits for its end and its exit code; the last line of standard error in `error`.
int finished(QProcess &process, QString *output, QString *error);

// Starts something that shows an overlay (our picker, or the portal's) and
// waits until something other than the screen as it was shows around a layout
// point, moving the pointer there meanwhile so that the overlay learns where
// it is.
bool startsOverlay(Pointer &pointer, QPoint layout, const std::function<void()> &start);

QString hex(tonfang::Rgb rgb);
tonfang::Rgb rgbOf(QRgb pixel);

} // namespace waylandtest
