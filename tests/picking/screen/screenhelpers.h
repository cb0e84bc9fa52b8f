#pragma once
// What the screen tests share: a window of known device pixels, the user's hand
// (xdotool), and device positions of widgets on the X screen.

#include "core/colour.h"
#include "tests/support/eventually.h"

#include <QObject>
#include <QProcess>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <ostream>

struct xcb_connection_t;

namespace screentest {

// The known colours of the pattern window, laid out in device pixels from the
// window's top-left corner, whatever the scale factor.
inline constexpr tonfang::Rgb red{255, 0, 0};
inline constexpr tonfang::Rgb sample{0x12, 0x34, 0x56};
inline constexpr tonfang::Rgb background{255, 255, 255};
inline const QRect redArea{0, 0, 40, 40};
inline const QRect sampleArea{0, 40, 40, 40};
// A grid of single device pixels, each of its own colour; neighbours differ
// strongly in blue, so a read one pixel off can never pass.
inline const QRect gridArea{50, 10, 8, 8};
tonfang::Rgb gridColour(int column, int row);

class PatternWindow : public QWidget {
public:
    PatternWindow();

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A pattern of single device pixels over the whole root window, tiled, where
// every pixel differs from all others within the magnifier's reach. Only on
// 24-bit screens; it shows wherever no window covers the root.
void paintRootPattern();
tonfang::Rgb rootPatternColour(QPoint device);
QSize rootSize();

// The top-left corner of a top-level window in device pixels of the root.
QPoint deviceOrigin(const QWidget *window);
// A top-level window's place and size in device pixels of the root.
QRect deviceRect(const QWindow *window);
// Where the pointer is, in device pixels of the root.
QPoint pointerPosition();
// A point of a widget, and its centre, in device pixels of the root.
QPoint devicePoint(const QWidget *widget, QPointF local);
QPoint deviceCentre(const QWidget *widget);

// Gives the keyboard focus to whichever window the pointer is over, as a
// desktop with focus following the mouse does.
void focusFollowsPointer();

// Runs xdotool with the arguments and waits until it has sent its events.
bool xdotool(const QStringList &arguments);
bool movePointer(QPoint device);

// Counts the mouse moves, presses and releases sent to a widget, also those
// that an event filter of the widget takes.
class MoveCounter : public QObject {
public:
    explicit MoveCounter(QWidget *widget);
    int moves = 0;
    int presses = 0;
    int releases = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_widget;
};

QString hexText(tonfang::Rgb rgb);

// Another program on the same X server: a connection of its own.
class OtherXClient {
public:
    explicit OtherXClient(const char *display = nullptr);
    ~OtherXClient(); // disconnecting ends its grab
    OtherXClient(const OtherXClient &) = delete;
    OtherXClient &operator=(const OtherXClient &) = delete;

    // True when the pointer, or the keyboard, is now grabbed by this client.
    bool grabPointer();
    bool grabKeyboard();
    void ungrab();
    // Whether some other client holds the pointer, or the keyboard: asks for
    // it, and lets go at once when given it.
    bool pointerHeldElsewhere();
    bool keyboardHeldElsewhere();
    // Unmaps or maps a top-level window, as a window manager does on a
    // workspace switch.
    void setMapped(const QWidget *window, bool mapped);

private:
    xcb_connection_t *m_connection;
};

// Starts the one-shot pick (--pick and the arguments) as its own program, in a
// folder (language markers),
// with NAME=value changes to the environment ("NAME=" removes it).
void startOneShot(QProcess &process, const QStringList &arguments = {},
                  const QString &folder = {}, const QStringList &environment = {});

} // namespace screentest

inline void PrintTo(QPoint p, std::ostream *out)
{
    *out << "(" << p.x() << ", " << p.y() << ")";
}
