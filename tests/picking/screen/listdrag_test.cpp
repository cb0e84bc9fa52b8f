// Reordering the colour list with real drags of the pointer: Qt's own drag
// loop on the X server, not synthetic drag events.

#include "pickingfixture.h"

#include "listfile/colourlisthandlers.h"
#include "tests/support/colourlisttesting.h"

#include <QApplication>
#include <QPointer>
#include <QProcess>

using namespace screentest;

class ListDrag : public PickingScreen {
protected:
    void SetUp() override
    {
        PickingScreen::SetUp();
        if (!prog->findChild<ColourListHandlers *>())
            new ColourListHandlers(*prog);
        if (!rows)
            rows = new MoveCounter(list()->viewport());
    }

    // Goes with the window.
    static inline QPointer<MoveCounter> rows;

    static ColourListView *list() { return prog->ColorListBox1; }
    static ColourListModel *model() { return list()->colourModel(); }
    static QPoint rowCentre(int row)
    {
        return devicePoint(list()->viewport(), list()->visualRect(model()->index(row)).center());
    }
    // The list's frame, beside a row: inside the list, outside its rows.
    static QPoint borderBeside(int row)
    {
        const QPoint inViewport = list()->visualRect(model()->index(row)).center();
        return devicePoint(list(), QPoint(0, list()->viewport()->mapTo(list(), inViewport).y()));
    }
};

TEST_F(ListDrag, OnlyALeftDragMovesAndItMovesTheEntryUnderThePointer)
{
    ASSERT_GT(list()->frameWidth(), 0);
    const struct {
        const char *what;
        int button, from, to;
        bool onBorder;
        const char *order;
    } cases[] = {
        {"left from the third onto the fifth", 1, 2, 4, false, "12453"},
        {"left from the fourth onto the second", 1, 3, 1, false, "14235"},
        {"right from the third onto the fifth", 3, 2, 4, false, "12345"},
        {"middle from the third onto the fifth", 2, 2, 4, false, "12345"},
        {"left from the third onto the border", 1, 2, 4, true, "12345"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        model()->clear();
        fillNumbered(*model(), 5);
        // The first entry is selected; the drag starts on another.
        list()->setCurrentIndex(model()->index(0));

        const QPoint from = rowCentre(c.from);
        const QPoint to = c.onBorder ? borderBeside(c.to) : rowCentre(c.to);
        const QPoint middle = (from + to) / 2;
        // Each step is seen on its own, as a hand's would be, until Qt's drag
        // may begin; from there its own loop runs until the drop, so the rest
        // of the hand moves on its own.
        const int moved = rows->moves, pressed = rows->presses;
        ASSERT_TRUE(movePointer(from));
        ASSERT_EVENTUALLY_EQ(rows->moves, moved + 1);
        ASSERT_TRUE(xdotool({QStringLiteral("mousedown"), QString::number(c.button)}));
        ASSERT_EVENTUALLY_EQ(rows->presses, pressed + 1);
        ASSERT_TRUE(movePointer(from + (to - from) / 10));
        ASSERT_EVENTUALLY_EQ(rows->moves, moved + 2);
        QProcess hand;
        hand.start(QStringLiteral("xdotool"),
                   {QStringLiteral("mousemove"), QString::number(middle.x()),
                    QString::number(middle.y()), QStringLiteral("mousemove"),
                    QString::number(to.x()), QString::number(to.y()), QStringLiteral("mouseup"),
                    QString::number(c.button)});
        ASSERT_EVENTUALLY(hand.state() == QProcess::NotRunning);
        ASSERT_EQ(hand.exitCode(), 0);
        // The events reach the program in order: once the pick button has seen
        // the pointer arrive, the drag and its drop are over.
        pointAtPickButton();
        EXPECT_EQ(QGuiApplication::mouseButtons(), Qt::NoButton);
        EXPECT_EQ(order(*model()), QString::fromLatin1(c.order));
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    }
}
