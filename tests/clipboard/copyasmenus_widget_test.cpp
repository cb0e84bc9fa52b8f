// The context menus of the swatch and the colour list on the real window:
// right clicks, the items in both languages, the clipboard, and the palette
// saved through its dialog.
#include "clipboard/copyasmenus.h"

#include "editor/colourlist.h"
#include "editor/swatch.h"
#include "picking/colourlisthandlers.h"
#include "picking/widefunc.h"
#include "tests/clipboard/copywindows.h"
#include "tests/support/eventually.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
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
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(0));
        prog->RGBtoALL({255, 128, 0}); // white selected, #FF8000 current
    }
    QPoint rowCentre(int row) const { return list->visualRect(list->model()->index(row, 0)).center(); }
    // Right-clicks and gives the menu that opened. QTest sends the mouse
    // events straight to the widget, so the context menu event that the
    // window system adds to the press is sent here too.
    QMenu *rightClick(QWidget *widget, QPoint pos)
    {
        QTest::mousePress(widget, Qt::RightButton, {}, pos);
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, widget->mapToGlobal(pos));
        QCoreApplication::sendEvent(widget, &event);
        QTest::mouseRelease(widget, Qt::RightButton, {}, pos);
        static_cast<void>(TONFANG_WAIT_FOR(qobject_cast<QMenu *>(QApplication::activePopupWidget())));
        return qobject_cast<QMenu *>(QApplication::activePopupWidget());
    }
    static QStringList texts(QMenu *menu)
    {
        QStringList result;
        for (const QAction *item : menu->actions())
            result << (item->isSeparator() && item->text().isEmpty() ? u"-"_s : item->text());
        return result;
    }
    static void choose(QMenu *menu, const char *name)
    {
        QAction *item = menu->findChild<QAction *>(QString::fromLatin1(name));
        ASSERT_TRUE(item) << name;
        item->trigger();
        menu->close();
    }
    ColourListView *list = nullptr;
};

} // namespace

TEST_F(CopyAsTest, MenusInBothLanguages)
{
    for (const char *language : {"de", "en"}) {
        tonfang::setLanguageCode(QString::fromLatin1(language));
        const bool german = language == std::string_view("de");
        const QStringList copy = {german ? u"Kopieren als"_s : u"Copy as"_s, u"Hex (#RRGGBB)"_s,
                                  u"rgb()"_s, u"hsl()"_s, u"oklch()"_s};
        QMenu *menu = rightClick(prog->farbfeld, {5, 5});
        ASSERT_TRUE(menu);
        EXPECT_EQ(texts(menu), copy);
        menu->close();
        menu = rightClick(list->viewport(), rowCentre(1));
        ASSERT_TRUE(menu);
        const QString save = german ? u"Als GIMP-Palette speichern \u2026"_s : u"Save as GIMP Palette \u2026"_s;
        EXPECT_EQ(texts(menu), (copy + QStringList{u"-"_s, save}));
        menu->close();
    }
}

TEST_F(CopyAsTest, CopiesTheClickedColourAndChangesNothingElse)
{
    const struct {
        bool fromList;
        int places;
        const char *item;
        QString text;
    } cases[] = {
        {false, 2, "copyAsHex", u"#FF8000"_s},
        {false, 2, "copyAsRgb", u"rgb(255 128 0)"_s},
        {false, 2, "copyAsHsl", u"hsl(30.12 100% 50%)"_s},
        {false, 2, "copyAsOklch", u"oklch(73.19% 0.1858 52.98)"_s},
        {false, 0, "copyAsOklch", u"oklch(73% 0.19 53)"_s},
        {true, 2, "copyAsHex", u"#000000"_s},
        {true, 13, "copyAsOklch", u"oklch(0% 0 0)"_s},
    };
    for (const auto &c : cases) {
        prog->setDecimalPlaces(c.places);
        QMenu *menu = c.fromList ? rightClick(list->viewport(), rowCentre(1)) : rightClick(prog->farbfeld, {5, 5});
        ASSERT_TRUE(menu);
        choose(menu, c.item);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), c.text) << c.item;
        EXPECT_EQ(prog->e_hex->text(), u"#FF8000"_s);
        EXPECT_EQ(prog->farbfeld->colour(), 33023);
        EXPECT_EQ(list->selectionModel()->selectedRows().value(0).row(), 0);
    }
}

TEST_F(CopyAsTest, SavesTheWholeListAsGimpPalette)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    list->colourModel()->append(u"(255 128 000)"_s, 33023);
    tonfang::setLanguageCode(u"en"_s);
    QMenu *menu = rightClick(list->viewport(), rowCentre(2));
    ASSERT_TRUE(menu);
    QString filter, suffix;
    bool asksBeforeOverwriting = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        filter = dialog->nameFilters().join(u';');
        suffix = dialog->defaultSuffix();
        asksBeforeOverwriting = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        dialog->selectFile(folder.filePath(u"my colours"_s));
        static_cast<QDialog *>(dialog)->accept(); // QFileDialog keeps it protected
    });
    poll.start(5);
    choose(menu, "saveGimpPalette");
    EXPECT_EVENTUALLY(!poll.isActive() && !QApplication::activeModalWidget());
    EXPECT_EQ(filter, u"GIMP Palette (*.gpl)"_s);
    EXPECT_EQ(suffix, u"gpl"_s);
    EXPECT_TRUE(asksBeforeOverwriting);
    QFile saved(folder.filePath(u"my colours.gpl"_s));
    ASSERT_EVENTUALLY(saved.exists());
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("GIMP Palette\nName: my colours\nColumns: 0\n"
                                    "255 255 255\t#FFFFFF\n  0   0   0\t#000000\n255 128   0\t#FF8000\n"));

    auto &menus = *prog->findChild<CopyAsMenus *>();
    try {
        menus.saveGimpPalette(folder.filePath(u"missing/x.gpl"_s));
        ADD_FAILURE() << "no error";
    } catch (const WideFileError &error) {
        EXPECT_TRUE(QString::fromUtf8(error.what()).startsWith(u"Cannot create file"_s)) << error.what();
    }
}
