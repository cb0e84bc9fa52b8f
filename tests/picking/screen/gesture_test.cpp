// The pick gesture driven by a real pointer on an X screen: press on the pick
// button, drag over the pattern window, let go.

#include "pickingfixture.h"

#include "editor/swatch.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QPushButton>
#include <QTest>

using namespace screentest;

namespace {

Qt::CursorShape cursorShape()
{
    const QCursor *cursor = QGuiApplication::overrideCursor();
    return cursor ? cursor->shape() : Qt::ArrowCursor;
}

} // namespace

TEST_F(PickingScreen, DisplaysFollowThePointerLiveAndTheReleaseKeepsTheLastPixel)
{
    const int entriesBefore = listCount();
    pointAtPickButton();
    press();
    EXPECT_EQ(cursorShape(), Qt::CrossCursor);

    struct Stop {
        QPoint where;
        tonfang::Rgb colour;
    };
    const Stop stops[] = {
        {centreOf(sampleArea), sample},
        {at(gridArea.topLeft()), gridColour(0, 0)},
        {at(gridArea.topLeft() + QPoint(1, 0)), gridColour(1, 0)},
        {at(gridArea.topLeft() + QPoint(1, 1)), gridColour(1, 1)},
        {at(gridArea.bottomRight()), gridColour(7, 7)},
        {centreOf(redArea), red},
    };
    for (const Stop &stop : stops) {
        dragTo(stop.where);
        const tonfang::ColourNumber number = tonfang::RGBToTColor(stop.colour);
        ASSERT_EVENTUALLY_EQ(prog->e_hex->text(), hexText(stop.colour));
        EXPECT_EQ(prog->e_tcolor->text(), QString::number(number));
        EXPECT_EQ(prog->e_red->text(), QString::number(stop.colour.red));
        EXPECT_EQ(prog->e_green->text(), QString::number(stop.colour.green));
        EXPECT_EQ(prog->e_blue->text(), QString::number(stop.colour.blue));
        EXPECT_EQ(prog->farbfeld->colour(), number);
        EXPECT_EQ(eyedropper->pickedColour(), number);
    }
    EXPECT_EQ(prog->e_pr->text(), QStringLiteral("100"));
    EXPECT_EQ(listCount(), entriesBefore) << "nothing is added while moving unless asked";

    release();
    EXPECT_EQ(prog->farbfeld->colour(), 255);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(prog->guardFlag());
    ASSERT_EQ(listCount(), entriesBefore + 1);
    EXPECT_EQ(lastEntry().label, QStringLiteral("(255 000 000)"));
    EXPECT_EQ(lastEntry().colour, 255);
}

TEST_F(PickingScreen, AddingOnMoveAppendsOneEntryPerMoveAndOneOnRelease)
{
    prog->m_add_bewegen->setChecked(true);
    const int entriesBefore = listCount();
    pointAtPickButton();
    press();
    // Two moves over the same colour still give two entries.
    const QPoint path[] = {centreOf(redArea), centreOf(redArea) + QPoint(1, 1),
                           centreOf(sampleArea), at(gridArea.topLeft()), centreOf(redArea)};
    const int n = int(std::size(path));
    for (int i = 0; i < n; ++i) {
        dragTo(path[i]);
        ASSERT_EVENTUALLY_EQ(listCount(), entriesBefore + i + 1);
    }
    release();
    ASSERT_EQ(listCount(), entriesBefore + n + 1);

    const ColourListModel *model = prog->ColorListBox1->colourModel();
    const QString expected[] = {"(255 000 000)", "(255 000 000)", "(018 052 086)",
                                QString::fromStdString(tonfang::listEntryLabel(gridColour(0, 0))),
                                "(255 000 000)", "(255 000 000)"};
    for (int i = 0; i <= n; ++i)
        EXPECT_EQ(model->entry(entriesBefore + i).label, expected[i]) << "entry " << i;
}

TEST_F(PickingScreen, PressAndReleaseWithoutMoveKeepTheDisplaysAndAddThem)
{
    // Something other than the last picked colour shows first.
    const tonfang::ColourNumber picked = eyedropper->pickedColour();
    const tonfang::Rgb shown{1, 2, 3};
    ASSERT_NE(tonfang::RGBToTColor(shown), picked);
    prog->RGBtoALL(shown);
    const int entriesBefore = listCount();

    pointAtPickButton();
    press();
    release();

    EXPECT_EQ(prog->e_hex->text(), QStringLiteral("#010203")) << "no pixel was read";
    EXPECT_EQ(prog->farbfeld->colour(), picked) << "the swatch shows the last picked colour";
    ASSERT_EQ(listCount(), entriesBefore + 1);
    EXPECT_EQ(lastEntry().label, QStringLiteral("(001 002 003)"));
    EXPECT_EQ(lastEntry().colour, tonfang::RGBToTColor(shown));

    // The fields answer typing again at once, without another pointer move.
    EXPECT_FALSE(prog->guardFlag());
    prog->e_red->setText(QStringLiteral("200"));
    EXPECT_EQ(prog->e_hex->text(), QStringLiteral("#C80203"));
}

TEST_F(PickingScreen, RightAndMiddleButtonsPickLikeTheLeft)
{
    for (const int button : {3, 2}) {
        SCOPED_TRACE(button);
        const int entriesBefore = listCount();
        pointAtPickButton();
        press(button);
        EXPECT_EQ(cursorShape(), Qt::CrossCursor);
        dragTo(centreOf(sampleArea));
        ASSERT_EVENTUALLY_EQ(prog->e_hex->text(), hexText(sample));
        dragTo(centreOf(redArea));
        ASSERT_EVENTUALLY_EQ(prog->e_hex->text(), hexText(red));
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "no context menu in the way";
        release(button);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(prog->farbfeld->colour(), 255);
        ASSERT_EQ(listCount(), entriesBefore + 1);
        EXPECT_EQ(lastEntry().colour, 255);
    }
}

TEST_F(PickingScreen, PassingOverTheButtonWithoutPressingOnlyClearsTheGuard)
{
    prog->RGBtoALL(sample);
    const int entriesBefore = listCount();
    prog->setGuardFlag(true);
    pointAtPickButton();
    EXPECT_FALSE(prog->guardFlag());
    EXPECT_FALSE(eyedropper->isPicking());
    EXPECT_EQ(prog->e_hex->text(), hexText(sample));
    EXPECT_EQ(listCount(), entriesBefore);
}

TEST_F(PickingScreen, TheFirstReleaseEndsThePickAndLaterOnesCountOnlyOverTheButton)
{
    const struct {
        const char *what;
        int first, second; // pressed in this order, the second released first
        bool lastOverButton;
        int entries;
    } cases[] = {
        {"left, then a right click over the screen, left let go there", 1, 3, false, 1},
        {"right, then a left click over the screen, right let go on the button", 3, 1, true, 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const int entriesBefore = listCount();
        pointAtPickButton();
        press(c.first);
        dragTo(centreOf(redArea));
        ASSERT_EVENTUALLY_EQ(prog->e_hex->text(), hexText(red));
        int presses = moves->presses;
        ASSERT_TRUE(xdotool({QStringLiteral("mousedown"), QString::number(c.second)}));
        ASSERT_EVENTUALLY_EQ(moves->presses, presses + 1);
        release(c.second);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(prog->farbfeld->colour(), 255);
        ASSERT_EQ(listCount(), entriesBefore + 1);

        // The grab lingers while the first button is held: moves still come,
        // but the pick is over and reads nothing.
        dragTo(centreOf(sampleArea));
        EXPECT_EQ(prog->e_hex->text(), hexText(red));
        presses = moves->presses;
        ASSERT_TRUE(xdotool({QStringLiteral("click"), QString::number(c.second)}));
        ASSERT_EVENTUALLY_EQ(moves->presses, presses + 1);
        EXPECT_FALSE(eyedropper->isPicking()) << "a press elsewhere starts no pick";
        if (c.lastOverButton)
            dragTo(deviceCentre(prog->Button1));
        const int releases = moves->releases;
        ASSERT_TRUE(xdotool({QStringLiteral("mouseup"), QString::number(c.first)}));
        ASSERT_EVENTUALLY_EQ(moves->releases, releases + 1);
        EXPECT_FALSE(eyedropper->isPicking());
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        ASSERT_EQ(listCount(), entriesBefore + c.entries);
        EXPECT_EQ(lastEntry().colour, 255);
    }
}

TEST_F(PickingScreen, APickWhoseGrabAnotherProgramTakesIsCancelled)
{
    const int entriesBefore = listCount();
    pointAtPickButton();
    press();
    dragTo(centreOf(redArea));
    ASSERT_EVENTUALLY_EQ(prog->e_hex->text(), hexText(red));
    {
        OtherXClient other;
        // While the pick holds the pointer no other program can grab it; hiding
        // the window ends the pick's grab, and then another program can.
        EXPECT_FALSE(other.grabPointer());
        other.setMapped(prog.get(), false);
        ASSERT_TRUE(other.grabPointer());
        ASSERT_EVENTUALLY(!eyedropper->isPicking());
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_FALSE(prog->guardFlag());
        EXPECT_EQ(prog->e_hex->text(), hexText(red)) << "the last colour read stays";
        EXPECT_EQ(listCount(), entriesBefore);
        other.setMapped(prog.get(), true);
    }
    // The release lands on the pattern window; the pick stays cancelled.
    ASSERT_TRUE(xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}));
    ASSERT_EVENTUALLY(QGuiApplication::mouseButtons() == Qt::NoButton);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(prog.get()));
    EXPECT_EQ(listCount(), entriesBefore);

    // The next pick works as ever.
    pointAtPickButton();
    press();
    dragTo(centreOf(sampleArea));
    release();
    ASSERT_EQ(listCount(), entriesBefore + 1);
    EXPECT_EQ(lastEntry().colour, tonfang::RGBToTColor(sample));
}
