#pragma once
// A main window with its eyedropper beside the pattern window, both shown on
// the X screen, and the steps of the user's hand that the tests are made of.

#include "screenhelpers.h"

#include "editor/colourlist.h"
#include "editor/tprog.h"
#include "picking/eyedropper.h"

#include <QLineEdit>

#include <gtest/gtest.h>

#include <memory>

class PickingScreen : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    // Lets go of every button, so a test that failed mid-gesture leaves the
    // next one an idle eyedropper.
    void TearDown() override;

    // Makes a fresh main window and eyedropper (the pattern window stays).
    static void createMainWindow();

    // A device pixel of the pattern window, on the screen.
    static QPoint at(QPoint patternPixel);
    static QPoint centreOf(const QRect &patternArea);

    // The hand: every step waits until the program has received it.
    static void pointAtPickButton();
    static void press(int button = 1);
    static void release(int button = 1);
    static void dragTo(QPoint device); // one pointer move while picking
    static void key(const char *name);  // an xdotool key name, such as shift+Left

    static int listCount();
    static tonfang::ColourListEntry lastEntry();

    static inline std::unique_ptr<Tprog> prog;
    static inline Eyedropper *eyedropper = nullptr;
    static inline screentest::MoveCounter *moves = nullptr;
    static inline std::unique_ptr<screentest::PatternWindow> pattern;
};
