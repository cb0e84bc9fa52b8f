#pragma once
// What the screen tests share: a window of known device pixels, the user's hand
// (xdotool), and device positions of widgets on the X screen.

#include "core/colour.h"

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <ostream>

// Waits for a condition the way QTRY_VERIFY does, processing events for up to
// five seconds, but reports to GoogleTest. Once a test has failed fatally it no
// longer waits, so one broken step does not add up to many timeouts.
#define TONFANG_WAIT_FOR(condition) \
    QTest::qWaitFor([&] { return bool(condition); }, \
                    ::testing::Test::HasFatalFailure() ? 0 : 5000)
#define ASSERT_EVENTUALLY(condition) \
    ASSERT_TRUE(TONFANG_WAIT_FOR(condition)) << "waited for " #condition
#define ASSERT_EVENTUALLY_EQ(actual, expected) \
    do { \
        static_cast<void>(TONFANG_WAIT_FOR((actual) == (expected))); \
        ASSERT_EQ(actual, expected); \
    } while (false)

// Lets GoogleTest show texts in its failure messages.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

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

// The top-left corner of a top-level window in device pixels of the root.
QPoint deviceOrigin(const QWidget *window);
// A widget's centre in device pixels of the root.
QPoint deviceCentre(const QWidget *widget);

// Runs xdotool with the arguments and waits until it has sent its events.
bool xdotool(const QStringList &arguments);
bool movePointer(QPoint device);

// Counts the mouse moves a widget receives.
class MoveCounter : public QObject {
public:
    explicit MoveCounter(QWidget *widget);
    int moves = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

QString hexText(tonfang::Rgb rgb);

} // namespace screentest
