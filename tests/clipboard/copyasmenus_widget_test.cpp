// The context menus of the swatch and the colour list on the real window:
// right clicks, the items in both languages, the clipboard, and the palette
// saved through its dialog.
#include "clipboard/copyasmenus.h"

#include "editor/colourlist.h"
#include "editor/swatch.h"
#include "listfile/colourlisthandlers.h"
#include "listfile/fileaccess.h"
#include "tests/clipboard/copywindows.h"
#include "tests/support/eventually.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

namespace {

class CopyAsTest : public CopyWindows {
public:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(CopyWindows::SetUp());
        new ColourListHandlers(*prog);
        new CopyAsMenus(*prog);
        list = prog->ColorListBox1;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry(0));
        prog->RGBtoALL({255, 128, 0}); // white selected, #FF8000 current
    }
    QPoint entry(int row) const { return list->visualRect(list->model()->index(row, 0)).center(); }
    // QTest sends mouse events straight to the widget, so the context menu
    // event that the window system adds to a right press is sent here too.
    QMenu *rightClick(QWidget *widget, QPoint pos)
    {
        QTest::mousePress(widget, Qt::RightButton, {}, pos);
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, widget->mapToGlobal(pos));
        QCoreApplication::sendEvent(widget, &event);
        QTest::mouseRelease(widget, Qt::RightButton, {}, pos);
        static_cast<void>(TONFANG_WAIT_FOR(qobject_cast<QMenu *>(QApplication::activePopupWidget())));
        return qobject_cast<QMenu *>(QApplication::activePopupWidget());
    }
    QMenu *swatchMenu() { return rightClick(prog->farbfeld, {5, 5}); }
    QMenu *entryMenu(int row) { return rightClick(list->viewport(), entry(row)); }
    ColourListView *list = nullptr;
};

QStringList texts(QMenu *menu)
{
    if (!menu)
        return {u"no menu"_s};
    QStringList result;
    for (const QAction *item : menu->actions())
        result << (item->text().isEmpty() ? u"-"_s : item->text());
    menu->close();
    return result;
}

void choose(QMenu *menu, const char *name)
{
    ASSERT_TRUE(menu);
    menu->findChild<QAction *>(QString::fromLatin1(name))->trigger();
    menu->close();
}

} // namespace

TEST_F(CopyAsTest, MenusInBothLanguages)
{
    const QStringList copy = {u"Hex (#RRGGBB)"_s, u"rgb()"_s, u"hsl()"_s, u"oklch()"_s};
    const QString languages[][3] = {{u"de"_s, u"Kopieren als"_s, u"Als GIMP-Palette speichern \u2026"_s},
                                    {u"en"_s, u"Copy as"_s, u"Save as GIMP Palette \u2026"_s}};
    for (const auto &[code, title, save] : languages) {
        tonfang::setLanguageCode(code);
        EXPECT_EQ(texts(swatchMenu()), QStringList{title} + copy);
        EXPECT_EQ(texts(entryMenu(1)), (QStringList{title} + copy + QStringList{u"-"_s, save}));
    }
}

TEST_F(CopyAsTest, CopiesTheClickedColourAndChangesNothingElse)
{
    const struct { bool fromList; int places; const char *item; QString text; } cases[] = {
        {false, 2, "copyAsHex", u"#FF8000"_s}, {false, 2, "copyAsRgb", u"rgb(255 128 0)"_s},
        {false, 2, "copyAsHsl", u"hsl(30.12 100% 50%)"_s}, {false, 0, "copyAsOklch", u"oklch(73% 0.186 53)"_s},
        {true, 2, "copyAsHex", u"#000000"_s}, {true, 13, "copyAsOklch", u"oklch(0% 0 0)"_s},
    };
    for (const auto &c : cases) {
        prog->setDecimalPlaces(c.places);
        choose(c.fromList ? entryMenu(1) : swatchMenu(), c.item);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), c.text) << c.item;
        EXPECT_EQ(prog->e_hex->text(), u"#FF8000"_s);
        EXPECT_EQ(prog->farbfeld->colour(), 33023);
        EXPECT_EQ(list->selectionModel()->selectedRows().value(0).row(), 0);
    }
}

TEST_F(CopyAsTest, SavesTheWholeListAsGimpPalette)
{
    QTemporaryDir folder;
    list->colourModel()->append(u"(255 128 000)"_s, 33023);
    tonfang::setLanguageCode(u"en"_s);
    // A name with a dot still gets ".gpl", and the question about replacing
    // names that file.
    QFile saved(folder.filePath(u"Brand 1.5.gpl"_s));
    ASSERT_TRUE(saved.open(QIODevice::WriteOnly) && saved.write("old") == 3);
    saved.close();
    QString question;
    bool named = false;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            answer.stop();
            question = box->text();
            box->button(QMessageBox::Yes)->click();
        } else if (auto *dialog = qobject_cast<QFileDialog *>(modal); dialog && !named) {
            named = true;
            EXPECT_EQ(dialog->nameFilters(), QStringList(u"GIMP Palette (*.gpl)"_s));
            EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
            dialog->selectFile(folder.filePath(u"Brand 1.5"_s));
            // Queued, so that this timer answers the question it asks (and
            // through QDialog, as QFileDialog::accept() is protected).
            QMetaObject::invokeMethod(static_cast<QDialog *>(dialog), &QDialog::accept,
                                      Qt::QueuedConnection);
        }
    });
    answer.start(5);
    choose(entryMenu(2), "saveGimpPalette");
    ASSERT_EVENTUALLY(saved.size() > 3);
    EXPECT_TRUE(question.startsWith(u"Brand 1.5.gpl "_s)) << question.toStdString();
    EXPECT_FALSE(QFile::exists(folder.filePath(u"Brand 1.5"_s)));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("GIMP Palette\nName: Brand 1.5\nColumns: 0\n255 255 255\t#FFFFFF\n"
                                          "  0   0   0\t#000000\n255 128   0\t#FF8000\n"));
    EXPECT_THROW(prog->findChild<CopyAsMenus *>()->saveGimpPalette(folder.filePath(u"no/x.gpl"_s)),
                 tonfang::FileError);
}
