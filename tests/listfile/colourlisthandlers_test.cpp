// The colour list on a shown main window, driven the way a user drives it:
// clicks and keys on the list, drags dropped on it, the swatch double-click,
// and the file menu with its dialogs answered by the test.

#include "listfile/colourlisthandlers.h"

#include "app/application.h"
#include "editor/colourlist.h"
#include "editor/swatch.h"
#include "editor/tprog.h"
#include "listfile/backgroundjob.h"
#include "tests/support/colourlisttesting.h"
#include "tests/support/eventually.h"
#include "tests/support/tempfolder.h"

#include <QAction>
#include <QColorDialog>
#include <QCompleter>
#include <QAbstractItemView>
#include <QDataStream>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>

#include <malloc.h>

namespace {

// Answers the next modal dialog as soon as it is shown. The answer runs from
// inside the dialog's own event loop, so the code that opened it carries on
// once the dialog is closed.
class DialogAnswerer {
public:
    explicit DialogAnswerer(std::function<void(QWidget *)> answer)
        : m_answer(std::move(answer))
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this] {
            QWidget *dialog = QApplication::activeModalWidget();
            if (!dialog || !dialog->isVisible())
                return;
            m_poll.stop();
            m_answer(dialog);
            answered = true;
        });
        m_poll.start(5);
    }
    bool answered = false;

private:
    std::function<void(QWidget *)> m_answer;
    QTimer m_poll;
};

class ColourListHandlersTest : public TempFolderTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(TempFolderTest::SetUp());
        TonfangApplication::setErrorSink([this](const QString &text) { errors << text; });
        window = std::make_unique<Tprog>();
        new ColourListHandlers(*window);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override
    {
        TonfangApplication::setErrorSink({});
        BackgroundJob::setDialogDelay(BackgroundJob::defaultDialogDelay);
    }

    ColourListView *list() const { return window->ColorListBox1; }
    ColourListModel *model() const { return list()->colourModel(); }

    // Replaces the list by entries "1" .. "n" with the colour numbers 1 .. n.
    void fillNumbered(int count)
    {
        model()->clear();
        ::fillNumbered(*model(), count);
    }

    QPoint rowCentre(int row) const { return list()->visualRect(model()->index(row)).center(); }
    void clickRow(int row)
    {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rowCentre(row));
    }

    // Every model field of the window, the swatch's colour last.
    QStringList displays() const
    {
        QStringList texts;
        for (int field = 0; field < tonfang::fieldCount; ++field)
            texts << window->field(tonfang::Field(field))->text();
        texts << QString::number(window->farbfeld->colour());
        return texts;
    }
    void expectShows(int red, int green, int blue) const
    {
        EXPECT_EQ(window->e_red->text(), QString::number(red));
        EXPECT_EQ(window->e_green->text(), QString::number(green));
        EXPECT_EQ(window->e_blue->text(), QString::number(blue));
        const int colour = red + 256 * green + 65536 * blue;
        EXPECT_EQ(window->e_tcolor->text(), QString::number(colour));
        EXPECT_EQ(window->farbfeld->colour(), colour);
    }

    // A drag carrying `mime` enters the list, moves to `point` and is dropped
    // there. Returns whether the list took the drop.
    bool dragAndDrop(const QMimeData *mime, QPoint point) const
    {
        QWidget *viewport = list()->viewport();
        QDragEnterEvent enter(point, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &enter);
        QDragMoveEvent move(point, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &move);
        EXPECT_EQ(enter.isAccepted(), move.isAccepted());
        QDropEvent drop(point, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &drop);
        return enter.isAccepted() && drop.isAccepted();
    }
    std::unique_ptr<QMimeData> dragOf(int row) const
    {
        return std::unique_ptr<QMimeData>(model()->mimeData({model()->index(row)}));
    }

    // Chooses a menu item through the event loop, as a click does, so that an
    // error it raises reaches the application's handler; the dialog it opens
    // gets `answer`. Returns once the item's handler has finished.
    void chooseWithDialog(QAction *item, const std::function<void(QWidget *)> &answer)
    {
        DialogAnswerer answerer(answer);
        QMetaObject::invokeMethod(item, &QAction::trigger, Qt::QueuedConnection);
        // The handler runs inside this wait; it has returned once the wait sees
        // the answer. An error it raised is then waiting as an event of its own.
        ASSERT_TRUE(QTest::qWaitFor([&] { return answerer.answered; }));
        QCoreApplication::processEvents();
    }
    static std::function<void(QWidget *)> chooseFile(const QString &fileName)
    {
        return [fileName](QWidget *dialog) {
            // Typed into the name field as a user does; selectFile() leaves a
            // focused field alone.
            auto *files = qobject_cast<QFileDialog *>(dialog);
            ASSERT_NE(files, nullptr);
            auto *name = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(fileName);
            static_cast<QDialog *>(files)->accept(); // runs the file dialog's own accept
        };
    }
    static void cancel(QWidget *dialog) { static_cast<QDialog *>(dialog)->reject(); }
    std::unique_ptr<Tprog> window;
    QStringList errors;
};

// ---- selecting ---------------------------------------------------------------

TEST_F(ColourListHandlersTest, ClickingAnEntryMakesItsColourCurrent)
{
    ASSERT_EQ(model()->count(), 2);
    window->RGBtoALL({10, 20, 30});
    clickRow(1);
    expectShows(0, 0, 0);
    EXPECT_EQ(window->e_hex->text(), QStringLiteral("#000000"));
    clickRow(0);
    expectShows(255, 255, 255);

    // Clicking the selected entry again brings its colour back after an edit,
    // also with Ctrl held, which must not leave the list without a selection.
    window->RGBtoALL({10, 20, 30});
    clickRow(0);
    expectShows(255, 255, 255);
    window->RGBtoALL({10, 20, 30});
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(0));
    expectShows(255, 255, 255);
    EXPECT_TRUE(list()->selectionModel()->isSelected(model()->index(0)));
    EXPECT_EQ(model()->count(), 2);
}

TEST_F(ColourListHandlersTest, OnlyTheLeftButtonSelectsOrAdds)
{
    clickRow(0);
    window->RGBtoALL({10, 20, 30});
    const QStringList before = displays();
    QTest::mouseClick(list()->viewport(), Qt::RightButton, {}, rowCentre(1));
    QTest::mouseDClick(window->farbfeld, Qt::RightButton);
    EXPECT_EQ(displays(), before);
    EXPECT_TRUE(list()->selectionModel()->isSelected(model()->index(0)));
    EXPECT_EQ(model()->count(), 2);
}

TEST_F(ColourListHandlersTest, SelectingWithTheKeyboardMakesTheColourCurrent)
{
    model()->append(QStringLiteral("(012 200 007)"), 12 + 200 * 256 + 7 * 65536);
    clickRow(0);
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Down);
    expectShows(0, 0, 0);
    QTest::keyClick(list(), Qt::Key_End);
    expectShows(12, 200, 7);
    QTest::keyClick(list(), Qt::Key_Home);
    expectShows(255, 255, 255);
}

TEST_F(ColourListHandlersTest, ClickingBelowTheEntriesLeavesTheColourAlone)
{
    clickRow(0);
    window->RGBtoALL({10, 20, 30});
    const QStringList before = displays();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      QPoint(10, list()->viewport()->height() - 4));
    EXPECT_EQ(displays(), before);
}

// ---- double-click on the swatch ----------------------------------------------

TEST_F(ColourListHandlersTest, DoubleClickOnTheSwatchAddsTheShownColourEveryTime)
{
    window->RGBtoALL({12, 200, 7});
    QTest::mouseDClick(window->farbfeld, Qt::LeftButton);
    QTest::mouseDClick(window->farbfeld, Qt::LeftButton);
    ASSERT_EQ(model()->count(), 4);
    for (int row : {2, 3}) {
        EXPECT_EQ(model()->entry(row).label, QStringLiteral("(012 200 007)"));
        EXPECT_EQ(model()->entry(row).colour, 12 + 200 * 256 + 7 * 65536);
    }

    window->m_add_doppelklick->setChecked(false);
    QTest::mouseDClick(window->farbfeld, Qt::LeftButton);
    EXPECT_EQ(model()->count(), 4);

    // A TColor text that is no integer adds nothing.
    window->m_add_doppelklick->setChecked(true);
    window->e_tcolor->setText(QStringLiteral("12x"));
    QTest::mouseDClick(window->farbfeld, Qt::LeftButton);
    EXPECT_EQ(model()->count(), 4);
}

// ---- drag and drop -----------------------------------------------------------

enum class Where { Centre, RightEnd, BelowTheLast };

struct DropCase {
    const char *name;
    int from;
    Where where;
    int row;
    const char *order;
};

class ColourListDropTest : public ColourListHandlersTest {
protected:
    QPoint pointAt(Where where, int row) const
    {
        switch (where) {
        case Where::RightEnd:
            return {list()->viewport()->width() - 2, rowCentre(row).y()};
        case Where::BelowTheLast:
            return {10, list()->visualRect(model()->index(model()->count() - 1)).bottom() + 20};
        default:
            return rowCentre(row);
        }
    }
};

TEST_F(ColourListDropTest, MovesTheDraggedEntryToTheRowUnderTheDrop)
{
    const DropCase cases[] = {
        {"first onto the fourth row", 0, Where::Centre, 3, "23415"},
        {"first below the last entry", 0, Where::BelowTheLast, 4, "23451"},
        {"first onto its own row", 0, Where::Centre, 0, "12345"},
        {"last onto the first row", 4, Where::Centre, 0, "51234"},
        {"second onto the right end of the fourth row", 1, Where::RightEnd, 3, "13425"},
    };
    for (const DropCase &c : cases) {
        fillNumbered(5);
        clickRow(c.from); // the press that starts a drag selects the entry
        const QStringList shown = displays();
        const auto mime = dragOf(c.from);
        EXPECT_TRUE(dragAndDrop(mime.get(), pointAt(c.where, c.row))) << c.name;
        EXPECT_EQ(order(*model()), QString::fromLatin1(c.order)) << c.name;
        EXPECT_EQ(displays(), shown) << c.name;
        // The moved entry stays selected at its new place.
        const QModelIndexList selected = list()->selectionModel()->selectedIndexes();
        ASSERT_EQ(selected.size(), 1) << c.name;
        EXPECT_EQ(selected.front().row(), c.row) << c.name;
    }
}

TEST_F(ColourListDropTest, RefusesEveryDragThatDidNotStartInThisList)
{
    fillNumbered(5);
    QMimeData text;
    text.setText(QStringLiteral("1"));

    ColourListView otherList;
    otherList.colourModel()->append(QStringLiteral("9"), 9);
    const std::unique_ptr<QMimeData> fromOtherList(
        otherList.colourModel()->mimeData({otherList.colourModel()->index(0)}));

    const std::unique_ptr<QMimeData> staleRow(dragOf(0));
    const auto payload = ColourListModel::dragPayload(staleRow.get());
    ASSERT_TRUE(payload);
    QByteArray forged;
    QDataStream stream(&forged, QIODevice::WriteOnly);
    stream << payload->listId << qint32(7);
    staleRow->setData(ColourListModel::mimeType(), forged);

    const std::array<const QMimeData *, 3> foreign = {&text, fromOtherList.get(), staleRow.get()};
    for (const QMimeData *mime : foreign) {
        EXPECT_FALSE(dragAndDrop(mime, rowCentre(3)));
        EXPECT_EQ(order(*model()), QStringLiteral("12345"));
    }
}

// ---- Delete key and clearing -------------------------------------------------

TEST_F(ColourListHandlersTest, DeleteRemovesTheSelectedEntryOnly)
{
    fillNumbered(5);
    clickRow(1);
    const QStringList shown = displays();
    QTest::keyClick(list(), Qt::Key_Delete);
    EXPECT_EQ(order(*model()), QStringLiteral("1345"));
    EXPECT_EQ(displays(), shown);

    // With nothing selected any more, Delete does nothing.
    QTest::keyClick(list(), Qt::Key_Delete);
    EXPECT_EQ(order(*model()), QStringLiteral("1345"));

    // Shift keys make no difference; other keys remove nothing.
    for (const Qt::KeyboardModifiers modifiers :
         {Qt::KeyboardModifiers(Qt::ShiftModifier), Qt::KeyboardModifiers(Qt::ControlModifier)}) {
        clickRow(0);
        QTest::keyClick(list(), Qt::Key_Backspace);
        QTest::keyClick(list(), Qt::Key_Delete, modifiers);
    }
    EXPECT_EQ(order(*model()), QStringLiteral("45"));

    model()->clear();
    QTest::keyClick(list(), Qt::Key_Delete);
    EXPECT_EQ(model()->count(), 0);
}

TEST_F(ColourListHandlersTest, ClearingEmptiesTheListAndKeepsTheColour)
{
    fillNumbered(1000);
    clickRow(2);
    const QStringList shown = displays();
    window->farblisteloeschen->trigger();
    EXPECT_EQ(model()->count(), 0);
    EXPECT_EQ(displays(), shown);

    // An empty list saves as an empty file.
    chooseWithDialog(window->savecol, chooseFile(path("empty.txt")));
    EXPECT_EQ(read(path("empty.txt")), QByteArray());
    EXPECT_EQ(errors, QStringList{});
}

// ---- colour dialog -----------------------------------------------------------

TEST_F(ColourListHandlersTest, ColourDialogStartsAtTheSwatchAndSetsTheChosenColour)
{
    window->RGBtoALL({10, 20, 30});
    QColor offered;
    chooseWithDialog(window->windialog, [&offered](QWidget *dialog) {
        auto *colours = qobject_cast<QColorDialog *>(dialog);
        ASSERT_NE(colours, nullptr);
        offered = colours->currentColor();
        colours->setCurrentColor(QColor(12, 200, 7));
        colours->accept();
    });
    EXPECT_EQ(offered, QColor(10, 20, 30));
    expectShows(12, 200, 7);
    EXPECT_EQ(window->e_hex->text(), QStringLiteral("#0CC807"));
    EXPECT_EQ(model()->count(), 2);
}

TEST_F(ColourListHandlersTest, CancellingTheColourDialogChangesNothing)
{
    window->RGBtoALL({10, 20, 30});
    const QStringList shown = displays();
    chooseWithDialog(window->windialog, [](QWidget *dialog) {
        qobject_cast<QColorDialog *>(dialog)->setCurrentColor(QColor(12, 200, 7));
        cancel(dialog);
    });
    EXPECT_EQ(displays(), shown);
    EXPECT_EQ(model()->count(), 2);
}

// ---- saving and opening ------------------------------------------------------

TEST_F(ColourListHandlersTest, SavesTheListUnderTheChosenNameAddingTxt)
{
    chooseWithDialog(window->savecol, chooseFile(path("colours")));
    EXPECT_EQ(read(path("colours.txt")), QByteArray("FFFFFF\r\n000000\r\n"));

    // An existing file is replaced without a question.
    model()->removeEntry(0);
    chooseWithDialog(window->savecol, chooseFile(path("colours.txt")));
    EXPECT_EQ(read(path("colours.txt")), QByteArray("000000\r\n"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(errors, QStringList{});
}

TEST_F(ColourListHandlersTest, SavesNothingForAPictureNameOrACancel)
{
    chooseWithDialog(window->savecol, chooseFile(path("colours.JPG")));
    chooseWithDialog(window->savecol, &cancel);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_EQ(errors, QStringList{});
}

TEST_F(ColourListHandlersTest, TellsTheUserWhenTheFileCannotBeCreated)
{
    const QString notAFolder = write("plain", "plain");
    chooseWithDialog(window->savecol, chooseFile(notAFolder + "/colours.txt"));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.front().startsWith("Cannot create file \"" + notAFolder + "/colours.txt\". "))
        << errors.front().toStdString();
    EXPECT_EQ(read(notAFolder), QByteArray("plain"));
}

TEST_F(ColourListHandlersTest, OpeningAppendsTheFilesColoursAndKeepsTheCurrentOne)
{
    const QString file = write("colours.txt", "FF0000\r\n00ff00\r\n");
    window->RGBtoALL({10, 20, 30});
    const QStringList shown = displays();
    chooseWithDialog(window->opencol, chooseFile(file));
    ASSERT_EQ(model()->count(), 4);
    EXPECT_EQ(model()->entry(0).label, QStringLiteral("(255 255 255)"));
    EXPECT_EQ(model()->entry(2).label, QStringLiteral("(255 000 000)"));
    EXPECT_EQ(model()->entry(2).colour, 255);
    EXPECT_EQ(model()->entry(3).label, QStringLiteral("(000 255 000)"));
    EXPECT_EQ(model()->entry(3).colour, 255 * 256);
    EXPECT_EQ(displays(), shown);

    chooseWithDialog(window->opencol, &cancel);
    EXPECT_EQ(model()->count(), 4);
    EXPECT_EQ(errors, QStringList{});

    // A name completed from the list the name field offers: the list goes
    // with the dialog instead of staying over the window.
    chooseWithDialog(window->opencol, [&](QWidget *dialog) {
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        // The start of the file's path, typed: the dialog's folder is whatever
        // the last file dialog of any Qt program left in the user's settings.
        // Its names come from a thread of the dialog's own, so ask until they
        // are in, and close the dialog whatever happens.
        name->setText(file.chopped(5));
        EXPECT_EVENTUALLY((name->completer()->complete(), name->completer()->popup()->isVisible()));
        chooseFile(file)(dialog);
    });
    EXPECT_EQ(model()->count(), 6);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(ColourListHandlersTest, ABadLineStopsOpeningAfterTheLinesBeforeIt)
{
    const QString file = write("colours.txt", "FF0000\r\n12345G\r\n0000FF\r\n");
    chooseWithDialog(window->opencol, chooseFile(file));
    EXPECT_EQ(errors, QStringList{"'$5G' is not a valid integer value"});
    ASSERT_EQ(model()->count(), 3);
    EXPECT_EQ(model()->entry(2).label, QStringLiteral("(255 000 000)"));
}

TEST_F(ColourListHandlersTest, TellsTheUserWhenTheFileCannotBeOpened)
{
    const QString missing = path("missing.txt");
    chooseWithDialog(window->opencol, chooseFile(missing));
    EXPECT_EQ(errors,
              QStringList{"Cannot open file \"" + missing + "\". No such file or directory"});
    EXPECT_EQ(model()->count(), 2);

    errors.clear();
    chooseWithDialog(window->opencol, chooseFile(write("utf7.txt", "+/v8-FF0000\r\n+AG-")));
    EXPECT_EQ(errors, QStringList{"Invalid UTF7"});
    EXPECT_EQ(model()->count(), 2);
}

// A file that never ends (a regular file of size 0 that reads on without
// end) is read until the user cancels in the progress dialog: nothing is
// appended, nothing is said, and memory stays bounded meanwhile.
TEST_F(ColourListHandlersTest, AnEndlessFileIsCancelledThroughTheProgressDialog)
{
    const QString pagemap = QStringLiteral("/proc/self/pagemap");
    if (!QFile(pagemap).open(QIODevice::ReadOnly))
        GTEST_SKIP() << "this system does not let the test read " << pagemap.toStdString();
    // Under a name that the dialog's default suffix leaves alone.
    const QString endless = path("endless.txt");
    ASSERT_TRUE(QFile::link(pagemap, endless));
    // Allocated on the heap, in every arena and in blocks of their own; not the
    // resident size, which a sanitizer's quarantine of freed memory inflates.
    const auto held = [] { return mallinfo2().uordblks + mallinfo2().hblkhd; };
    const std::size_t before = held();
    std::size_t whileReading = before;

    BackgroundJob::setDialogDelay(std::chrono::milliseconds(0));
    QTimer cancelWhenShown;
    bool cancelled = false;
    QObject::connect(&cancelWhenShown, &QTimer::timeout, [&] {
        auto *progress = window->findChild<QProgressDialog *>(QStringLiteral("jobProgress"));
        if (!progress || !progress->isVisible())
            return;
        cancelWhenShown.stop();
        whileReading = held();
        EXPECT_EQ(progress->labelText(), QStringLiteral("Farbliste wird geöffnet …"));
        progress->findChild<QPushButton *>(QStringLiteral("cancel"))->click();
        cancelled = true;
    });
    cancelWhenShown.start(20);
    chooseWithDialog(window->opencol, chooseFile(endless));
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(model()->count(), 2);
    EXPECT_EQ(errors, QStringList{});
    EXPECT_LT(std::int64_t(whileReading) - std::int64_t(before), std::int64_t(64) << 20);
}

} // namespace
