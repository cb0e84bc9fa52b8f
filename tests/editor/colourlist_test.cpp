// The colour list model and view, and the swatch beside them.
#include "editor/colourlist.h"
#include "editor/swatch.h"
#include "tests/support/colourlisttesting.h"
#include "tests/support/eventually.h"

#include <gtest/gtest.h>

#include <QDrag>
#include <QDragEnterEvent>
#include <QImage>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <vector>

namespace {

TEST(ColourListModel, MoveTakesTheEntryOutAndPutsItBackAtTheTargetRow)
{
    const struct {
        int from, to;
        const char *expected;
    } cases[] = {
        {0, 3, "23415"},  {3, 0, "41235"},  {0, 1, "21345"}, {1, 0, "21345"},
        {0, 4, "23451"},  {4, 0, "51234"},  {3, 4, "12354"}, {2, 2, "12345"},
        {-1, 2, "12345"}, {5, 0, "12345"},  {0, 5, "12345"}, {0, -1, "12345"},
    };
    for (const auto &c : cases) {
        ColourListModel model;
        fillNumbered(model);
        // Indexes held elsewhere (the selection, the view) must follow their entries.
        std::vector<QPersistentModelIndex> held;
        for (int row = 0; row < model.count(); ++row)
            held.emplace_back(model.index(row));

        model.moveEntry(c.from, c.to);

        EXPECT_EQ(order(model), QString::fromLatin1(c.expected)) << c.from << " -> " << c.to;
        for (int i = 0; i < int(held.size()); ++i)
            EXPECT_EQ(held[std::size_t(i)].data().toString(), QString::number(i + 1))
                << c.from << " -> " << c.to;
    }
}

TEST(ColourListModel, AppendsManyRowsInOneInsertion)
{
    ColourListModel model;
    model.append(QStringLiteral("(255 255 255)"), 0xFFFFFF);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

    constexpr int many = 200000;
    std::vector<ColourListEntry> entries(many);
    for (int i = 0; i < many; ++i)
        entries[std::size_t(i)] = {QString(), i};
    model.append(std::move(entries));
    model.append(std::vector<ColourListEntry>{}); // nothing to insert, nothing announced

    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted[0][1].toInt(), 1);
    EXPECT_EQ(inserted[0][2].toInt(), many);
    EXPECT_EQ(model.rowCount(), many + 1);
    EXPECT_EQ(model.entry(1).colour, 0);
    EXPECT_EQ(model.entry(many).colour, many - 1);
    EXPECT_EQ(model.entry(0).label, QStringLiteral("(255 255 255)"));
}

TEST(ColourListModel, ShowsLabelAndColourAndRemovesEntries)
{
    ColourListModel model;
    model.append(QStringLiteral("(255 128 000)"), 0x0080FF);
    model.append(QStringLiteral("(000 000 000)"), 0);
    const QModelIndex first = model.index(0);
    EXPECT_EQ(first.data(Qt::DisplayRole).toString(), QStringLiteral("(255 128 000)"));
    EXPECT_EQ(first.data(Qt::DecorationRole).value<QColor>(), QColor(255, 128, 0));
    EXPECT_EQ(first.data(ColourListModel::ColourRole).toInt(), 0x0080FF);
    EXPECT_FALSE(model.index(2).data().isValid());

    model.removeEntry(5);
    model.removeEntry(-1);
    EXPECT_EQ(model.count(), 2);
    model.removeEntry(0);
    ASSERT_EQ(model.count(), 1);
    EXPECT_EQ(model.entry(0).label, QStringLiteral("(000 000 000)"));
    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(ColourListModel, DragDataNamesTheListAndTheRow)
{
    ColourListModel model;
    ColourListModel other;
    fillNumbered(model);
    std::unique_ptr<QMimeData> mime(model.mimeData({model.index(2)}));
    ASSERT_TRUE(mime);
    EXPECT_TRUE(mime->hasFormat(ColourListModel::mimeType()));

    const auto payload = ColourListModel::dragPayload(mime.get());
    ASSERT_TRUE(payload);
    EXPECT_EQ(payload->row, 2);
    EXPECT_EQ(payload->listId, model.listId());
    EXPECT_NE(payload->listId, other.listId());

    QMimeData text;
    text.setText(QStringLiteral("2"));
    EXPECT_FALSE(ColourListModel::dragPayload(&text));
    QMimeData garbage;
    garbage.setData(ColourListModel::mimeType(), QByteArray("\x01", 1));
    EXPECT_FALSE(ColourListModel::dragPayload(&garbage));
    EXPECT_FALSE(ColourListModel::dragPayload(nullptr));
    EXPECT_EQ(model.mimeData({}), nullptr);
}

// A view whose drag loop is replaced by what a drop does: on the list the drop
// handler moves the entry; elsewhere (dropOnRow -1: another program, the scroll
// bar) nothing moves. Either way the platform reports a completed move.
class DroppingListView : public ColourListView {
public:
    int dropOnRow = 0;
    int dragsRun = 0;
    // A drag carries the entry the left button was pressed on.
    void beginDrag(int row)
    {
        const QPoint onRow = visualRect(model()->index(row, 0)).center();
        QTest::mousePress(viewport(), Qt::LeftButton, {}, onRow);
        startDrag(Qt::MoveAction);
        QTest::mouseRelease(viewport(), Qt::LeftButton);
    }

protected:
    Qt::DropAction execDrag(QDrag *drag, Qt::DropActions) override
    {
        ++dragsRun;
        const auto payload = ColourListModel::dragPayload(drag->mimeData());
        if (payload && dropOnRow >= 0)
            colourModel()->moveEntry(payload->row, dropOnRow);
        return Qt::MoveAction;
    }
};

TEST(ColourListView, ACompletedMoveLosesNoEntry)
{
    DroppingListView view;
    fillNumbered(*view.colourModel());
    view.show();
    view.dropOnRow = 3;
    view.beginDrag(0);
    EXPECT_EQ(view.dragsRun, 1);
    EXPECT_EQ(order(*view.colourModel()), QStringLiteral("23415"));
    // The selection went along with the entry.
    EXPECT_EQ(view.selectedColour(), 1);

    // A move that ends outside the list takes nothing away from it.
    view.dropOnRow = -1;
    view.beginDrag(3);
    EXPECT_EQ(view.dragsRun, 2);
    EXPECT_EQ(order(*view.colourModel()), QStringLiteral("23415"));
}

TEST(ColourListView, SelectedColourIsTheNoColourValueWithoutASelection)
{
    ColourListView view;
    constexpr std::int64_t noColour = 4278190080;
    EXPECT_EQ(view.selectedColour(), noColour);
    ColourListModel &model = *view.colourModel();
    model.append(QStringLiteral("(255 255 255)"), 0xFFFFFF);
    model.append(QStringLiteral("(000 000 000)"), 0);
    model.append(QStringLiteral("top byte"), std::int32_t(0x80123456));
    EXPECT_EQ(view.selectedColour(), noColour);

    view.setCurrentIndex(model.index(1));
    EXPECT_EQ(view.selectedColour(), 0);
    view.setCurrentIndex(model.index(2));
    EXPECT_EQ(view.selectedColour(), std::int64_t(0x80123456));
    view.clearSelection();
    EXPECT_EQ(view.selectedColour(), noColour);
    view.setCurrentIndex(model.index(0));
    model.clear();
    EXPECT_EQ(view.selectedColour(), noColour);
}

TEST(ColourListView, RefusesDropsWithoutAHandler)
{
    ColourListView view;
    view.resize(140, 160);
    fillNumbered(*view.colourModel());
    std::unique_ptr<QMimeData> mime(view.colourModel()->mimeData({view.colourModel()->index(0)}));
    const auto actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(QPoint(10, 40), actions, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view.viewport(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 40), actions, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view.viewport(), &drop);
    EXPECT_FALSE(drop.isAccepted());
    EXPECT_EQ(order(*view.colourModel()), QStringLiteral("12345"));
}

TEST(ColourListView, DrawsSixteenPixelRowsWithAColourSample)
{
    ColourListView view;
    view.resize(140, 100);
    view.colourModel()->append(QStringLiteral("(255 128 000)"), 0x0080FF);
    view.colourModel()->append(QStringLiteral("(000 000 255)"), 0xFF0000);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    const QRect second = view.visualRect(view.colourModel()->index(1));
    EXPECT_EQ(second.height(), 16);
    EXPECT_EQ(second.top(), 16);

    const QImage shot = view.viewport()->grab().toImage();
    const auto hasPixel = [&](const QRect &row, QColor colour) {
        for (int y = row.top(); y <= row.bottom(); ++y)
            for (int x = row.left(); x < row.left() + 30; ++x)
                if (shot.pixelColor(x, y) == colour)
                    return true;
        return false;
    };
    EXPECT_TRUE(hasPixel(view.visualRect(view.colourModel()->index(0)), QColor(255, 128, 0)));
    EXPECT_TRUE(hasPixel(second, QColor(0, 0, 255)));
}

TEST(Swatch, PaintsItsColourInsideAFlatFrameAndReportsDoubleClicks)
{
    Swatch swatch;
    swatch.resize(40, 30);
    QSignalSpy doubleClicks(&swatch, &Swatch::doubleClicked);
    swatch.setColour(0x0080FF); // red 255, green 128, blue 0
    EXPECT_EQ(swatch.colour(), 0x0080FF);
    EXPECT_EQ(swatch.frameShape(), QFrame::Box);
    EXPECT_EQ(swatch.frameShadow(), QFrame::Plain);
    EXPECT_EQ(swatch.lineWidth(), 1);

    const QImage shot = swatch.grab().toImage();
    EXPECT_EQ(shot.pixelColor(20, 15), QColor(255, 128, 0));
    EXPECT_EQ(shot.pixelColor(0, 0), swatch.palette().color(QPalette::WindowText));

    swatch.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&swatch));
    QTest::mouseDClick(&swatch, Qt::LeftButton);
    EXPECT_EQ(doubleClicks.count(), 1);
}

} // namespace
