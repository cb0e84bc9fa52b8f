// The colour list model and view, and the swatch beside them.
#include "editor/colourlist.h"
#include "editor/swatch.h"
#include "tests/support/colourlisttesting.h"
#include "tests/support/eventually.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QDrag>
#include <QDragEnterEvent>
#include <QImage>
#include <QMimeData>
#include <QSignalSpy>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTest>

#include <memory>
#include <vector>

using tonfang::ColourBlock;
using tonfang::ColourListEntry;
using tonfang::ColourListSnapshot;

namespace {

QString ownLabel(tonfang::ColourNumber colour)
{
    return QString::fromStdString(tonfang::listEntryLabel(tonfang::TColorToRGB(colour)));
}

std::vector<tonfang::ColourNumber> flattened(const ColourListSnapshot &snapshot)
{
    std::vector<tonfang::ColourNumber> colours;
    for (const std::span<const tonfang::ColourNumber> block : snapshot)
        colours.insert(colours.end(), block.begin(), block.end());
    return colours;
}

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

TEST(ColourListModel, KeepsEveryLabelAndAllThirtyTwoBitsOfTheColour)
{
    const ColourListEntry cases[] = {
        {QStringLiteral("(255 128 000)"), 0x0080FF}, // the colour's own label
        {QStringLiteral("(255 128 0)"), 0x0080FF},   // field texts as typed
        {QStringLiteral(""), 5},
        {QStringLiteral("(255 255 255)"), -1},       // a TColor text of -1
        {QStringLiteral("(000 000 000)"), std::int32_t(0xFF000000)},
        {QStringLiteral("(000 000 000)"), std::int32_t(0x80000001)},
    };
    ColourListModel model;
    for (const ColourListEntry &entry : cases)
        model.append(entry.label, entry.colour);
    model.appendBlocks({{std::int32_t(0xFF0A0B0C)}});
    for (int row = 0; row < int(std::size(cases)); ++row) {
        EXPECT_EQ(model.entry(row).label, cases[row].label) << row;
        EXPECT_EQ(model.colourAt(row), cases[row].colour) << row;
        EXPECT_EQ(model.index(row).data(ColourListModel::ColourRole).toInt(), cases[row].colour);
    }
    EXPECT_EQ(model.entry(6).label, QStringLiteral("(012 011 010)"));
    EXPECT_EQ(model.colourAt(6), std::int32_t(0xFF0A0B0C));
}

// Pieces of the list meet at these rows: whatever happens across them, the list
// must stay what a plain vector of the same entries would be.
TEST(ColourListModel, EditsAcrossPiecesKeepEveryEntryAndLabel)
{
    constexpr int full = int(ColourListModel::blockCapacity);
    ColourListModel model;
    std::vector<ColourListEntry> expected;
    std::vector<ColourBlock> blocks{ColourBlock(full), ColourBlock(3), ColourBlock(full)};
    int next = 0;
    for (ColourBlock &block : blocks)
        for (tonfang::ColourNumber &colour : block) {
            colour = next++;
            expected.push_back({ownLabel(colour), colour});
        }
    model.appendBlocks(std::move(blocks));
    for (int i = 0; i < 4; ++i) {
        expected.push_back({QStringLiteral("odd %1").arg(i), i});
        model.append(expected.back().label, i);
    }
    const auto move = [&](int from, int to) {
        model.moveEntry(from, to);
        const ColourListEntry moved = expected[std::size_t(from)];
        expected.erase(expected.begin() + from);
        expected.insert(expected.begin() + to, moved);
    };
    const auto remove = [&](int row) {
        model.removeEntry(row);
        expected.erase(expected.begin() + row);
    };
    const ColourListSnapshot before = model.snapshot();
    const std::vector<tonfang::ColourNumber> colours = flattened(before);

    move(full + 3 + full + 1, 2); // an odd label into the full first piece: it splits
    move(0, full + 1);            // from the first half into the three-entry piece
    move(full + 4, full - 1);     // from the last full piece into the second half
    remove(full / 2);
    for (int i = 0; i < 4; ++i)
        remove(full);             // the three-entry piece, now four, goes away
    move(int(expected.size()) - 1, 0);
    remove(int(expected.size()) - 1);
    model.append(QStringLiteral("last"), 7);
    expected.push_back({QStringLiteral("last"), 7});

    ASSERT_EQ(model.count(), int(expected.size()));
    const std::vector<ColourListEntry> entries = entriesOf(model);
    for (std::size_t row = 0; row < expected.size(); ++row) {
        ASSERT_EQ(entries[row].colour, expected[row].colour) << row;
        ASSERT_EQ(entries[row].label, expected[row].label) << row;
    }
    // The snapshot taken before is what the list was then.
    EXPECT_EQ(before.size(), full * 2 + 3 + 4);
    EXPECT_EQ(flattened(before), colours);
    const ColourListSnapshot after = model.snapshot();
    model.clear();
    EXPECT_EQ(after.size(), qint64(expected.size()));
    EXPECT_EQ(flattened(after).front(), expected.front().colour);
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

// Remembers which labels a paint drew.
class RecordingDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    mutable QStringList painted;
    void paint(QPainter *, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        painted << index.data().toString();
    }
};

TEST(ColourListView, AMillionRowsScrolledToTheEndShowTheLastLabels)
{
    ColourListView view;
    view.resize(140, 161);
    constexpr int rows = 1'000'000;
    std::vector<ColourBlock> blocks(1);
    for (int i = 0; i < rows; ++i)
        blocks[0].push_back(i);
    view.colourModel()->appendBlocks(std::move(blocks));
    auto *delegate = new RecordingDelegate(&view);
    view.setItemDelegate(delegate);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.scrollToBottom();
    delegate->painted.clear();
    view.viewport()->repaint();

    const int shown = (view.viewport()->height() + 15) / 16;
    ASSERT_EQ(delegate->painted.size(), shown);
    EXPECT_EQ(delegate->painted.back(), ownLabel(rows - 1));
    EXPECT_EQ(delegate->painted.front(), ownLabel(rows - shown));
    const int bottom = view.viewport()->height() - 1;
    EXPECT_EQ(view.indexAt(QPoint(5, bottom)).row(), rows - 1);
    EXPECT_EQ(view.visualRect(view.colourModel()->index(rows - 1)).bottom(), bottom);

    // A screen reader hears each row by its label.
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(&view);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    EXPECT_EQ(list->childCount(), rows);
    QAccessibleInterface *last = list->child(rows - 1);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->role(), QAccessible::ListItem);
    EXPECT_EQ(last->text(QAccessible::Name), ownLabel(rows - 1));
    EXPECT_EQ(list->indexOfChild(last), rows - 1);
    EXPECT_FALSE(last->state().offscreen);
    EXPECT_TRUE(list->child(0)->state().offscreen);
}

TEST(ColourListView, NoRowBelowTheLastOrBesideTheRows)
{
    ColourListView view;
    view.resize(140, 160);
    fillNumbered(*view.colourModel(), 3);
    EXPECT_EQ(view.indexAt(QPoint(5, 3 * 16 - 1)).row(), 2);
    EXPECT_FALSE(view.indexAt(QPoint(5, 3 * 16)).isValid());
    EXPECT_FALSE(view.indexAt(QPoint(5, -1)).isValid());
    EXPECT_FALSE(view.indexAt(QPoint(view.viewport()->width(), 5)).isValid());
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 0);
}

TEST(ColourListView, KeysMouseAndDragReachRowsBeyondTheFirstScreen)
{
    DroppingListView view;
    view.resize(140, 161);
    fillNumbered(*view.colourModel(), 1000);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.setFocus();
    const int page = view.viewport()->height() / 16;
    const auto current = [&] { return view.currentIndex().row(); };
    const auto shown = [&] {
        return view.viewport()->rect().contains(view.visualRect(view.currentIndex()));
    };
    view.setCurrentIndex(view.colourModel()->index(0));
    const struct {
        Qt::Key key;
        int row;
    } steps[] = {{Qt::Key_Down, 1},         {Qt::Key_End, 999},      {Qt::Key_Down, 999},
                 {Qt::Key_PageUp, 999 - page}, {Qt::Key_Up, 998 - page}, {Qt::Key_Home, 0},
                 {Qt::Key_Up, 0},           {Qt::Key_PageDown, page}};
    for (const auto &step : steps) {
        QTest::keyClick(&view, step.key);
        EXPECT_EQ(current(), step.row) << step.key;
        EXPECT_TRUE(shown()) << step.key;
        EXPECT_EQ(view.selectedColour(), step.row + 1) << step.key;
    }

    view.scrollTo(view.colourModel()->index(600), QAbstractItemView::PositionAtTop);
    const QPoint onRow602 = view.visualRect(view.colourModel()->index(602)).center();
    QTest::mouseClick(view.viewport(), Qt::RightButton, {}, onRow602);
    EXPECT_EQ(view.selectedColour(), page + 1);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, onRow602);
    EXPECT_EQ(view.selectedColour(), 603);

    view.dropOnRow = 601;
    view.beginDrag(604);
    EXPECT_EQ(view.colourModel()->entry(601).label, QStringLiteral("605"));
    EXPECT_EQ(view.colourModel()->entry(604).label, QStringLiteral("604"));
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
