#include "clipboard/copyasmenus.h"

#include "core/gimppalette.h"
#include "editor/colourlist.h"
#include "editor/languagecode.h"
#include "editor/swatch.h"
#include "editor/tprog.h"
#include "listfile/backgroundjob.h"
#include "listfile/filedialogs.h"
#include "listfile/listfiletexts.h"
#include "listfile/safesave.h"

#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>

#include <algorithm>
#include <utility>

using tonfang::ColourListSnapshot;

using tonfang::ColourFormat;

namespace {

// The texts of the menus and the palette dialog, keyed by objectName.
struct MenuText {
    const char *name;
    tonfang::BilingualText text;
};

const MenuText menuTexts[] = {
    {"copyAsMenu", {QStringLiteral("Kopieren als"), QStringLiteral("Copy as")}},
    {"copyAsHex", {QStringLiteral("Hex (#RRGGBB)"), QStringLiteral("Hex (#RRGGBB)")}},
    {"copyAsRgb", {QStringLiteral("rgb()"), QStringLiteral("rgb()")}},
    {"copyAsHsl", {QStringLiteral("hsl()"), QStringLiteral("hsl()")}},
    {"copyAsOklch", {QStringLiteral("oklch()"), QStringLiteral("oklch()")}},
    {"saveGimpPalette", {QStringLiteral("Als GIMP-Palette speichern \u2026"),
                         QStringLiteral("Save as GIMP Palette \u2026")}},
    {"gimpPaletteFilter", {QStringLiteral("GIMP-Palette (*.gpl)"),
                           QStringLiteral("GIMP Palette (*.gpl)")}},
};

QString text(const char *name)
{
    const auto found = std::find_if(std::begin(menuTexts), std::end(menuTexts),
                                    [name](const MenuText &t) { return qstrcmp(t.name, name) == 0; });
    return found->text.inLanguage();
}

QAction *addItem(QMenu *menu, const char *name)
{
    QAction *item = menu->addAction(text(name));
    item->setObjectName(QString::fromLatin1(name));
    return item;
}

// Rows of the palette written per piece, so that a long list is never held
// whole as bytes.
constexpr int rowsPerPiece = 4096;

} // namespace

CopyAsMenus::CopyAsMenus(Tprog &prog)
    : QObject(&prog)
    , m_prog(prog)
{
    setObjectName(QStringLiteral("copyAsMenus"));
    prog.farbfeld->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(prog.farbfeld, &QWidget::customContextMenuRequested, this,
            &CopyAsMenus::farbfeldContextMenu);
    // A scroll area reports the position in its viewport, where indexAt looks.
    prog.ColorListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(prog.ColorListBox1, &QWidget::customContextMenuRequested, this,
            &CopyAsMenus::ColorListBox1ContextMenu);
}

void CopyAsMenus::farbfeldContextMenu(const QPoint &pos)
{
    const tonfang::Rgb colour = tonfang::TColorToRGB(m_prog.farbfeld->colour());
    popUp(m_prog.farbfeld, pos, &colour, false);
}

void CopyAsMenus::ColorListBox1ContextMenu(const QPoint &pos)
{
    ColourListView *list = m_prog.ColorListBox1;
    const QModelIndex under = list->indexAt(pos);
    if (!under.isValid()) {
        popUp(list->viewport(), pos, nullptr, true);
        return;
    }
    const tonfang::Rgb colour =
        tonfang::TColorToRGB(list->colourModel()->entry(under.row()).colour);
    popUp(list->viewport(), pos, &colour, true);
}

void CopyAsMenus::popUp(QWidget *widget, const QPoint &pos, const tonfang::Rgb *colour,
                        bool withPalette)
{
    auto *menu = new QMenu(widget);
    menu->setObjectName(QStringLiteral("copyAsMenu"));
    menu->setTitle(text("copyAsMenu"));
    // Hidden after an item is chosen or when dismissed; deleted once the
    // item's handler has returned.
    connect(menu, &QMenu::aboutToHide, menu, &QObject::deleteLater);
    if (colour) {
        menu->addSection(menu->title());
        const struct {
            const char *name;
            ColourFormat format;
        } items[] = {{"copyAsHex", ColourFormat::Hex},
                     {"copyAsRgb", ColourFormat::CssRgb},
                     {"copyAsHsl", ColourFormat::CssHsl},
                     {"copyAsOklch", ColourFormat::Oklch}};
        for (const auto &item : items)
            connect(addItem(menu, item.name), &QAction::triggered, this,
                    [this, rgb = *colour, format = item.format] { copyAs(rgb, format); });
    }
    if (withPalette) {
        if (colour)
            menu->addSeparator();
        // The dialog opens after the menu has closed, from the event loop,
        // where an error in saving reaches the application's handler.
        connect(addItem(menu, "saveGimpPalette"), &QAction::triggered, this,
                &CopyAsMenus::saveGimpPaletteClick, Qt::QueuedConnection);
    }
    menu->popup(widget->mapToGlobal(pos));
}

void CopyAsMenus::copyAs(tonfang::Rgb rgb, ColourFormat format)
{
    const std::string line = tonfang::formatColour(rgb, format, m_prog.decimalPlaces());
    QGuiApplication::clipboard()->setText(QString::fromStdString(line), QClipboard::Clipboard);
}

QFileDialog *CopyAsMenus::paletteDialog()
{
    if (!m_paletteDialog) {
        // GIMP's palette folder reads only names ending in ".gpl". Unlike the
        // colour list's dialogs this one asks before it overwrites.
        m_paletteDialog = new tonfang::SuffixedSaveDialog(&m_prog, QStringLiteral("gpl"));
        m_paletteDialog->setObjectName(QStringLiteral("gimpPaletteDialog"));
    }
    // The filter follows the language of the moment.
    m_paletteDialog->setNameFilter(text("gimpPaletteFilter"));
    return m_paletteDialog;
}

void CopyAsMenus::saveGimpPaletteClick()
{
    const QString fileName = tonfang::askFileName(paletteDialog());
    if (!fileName.isEmpty())
        saveGimpPalette(fileName);
}

void CopyAsMenus::saveGimpPalette(const QString &fileName)
{
    // The colours are taken here, on this thread: the worker writes them from
    // pieces the list copies before it changes them.
    const ColourListSnapshot colours = m_prog.ColorListBox1->colourModel()->snapshot();
    // The palette is named as its file, dots and all, less ".gpl".
    QString name = QFileInfo(fileName).fileName();
    if (name.endsWith(QStringLiteral(".gpl")))
        name.chop(4);
    const std::string header = tonfang::gimpPaletteHeader(name.toStdString());
    // Every row is as long as any other.
    const qint64 totalBytes = qint64(header.size()) +
                              colours.size() * qint64(tonfang::gimpPaletteRow({}).size());

    // The colour list file's save path: the old file is replaced only once the
    // new one is complete, and a cancel leaves it as it was.
    BackgroundJob job(&m_prog, tonfang::savingColourListText());
    job.run([&](BackgroundJob &worker) {
        const tonfang::SaveControl control{
            [&worker] { return worker.cancelRequested(); },
            [&worker, totalBytes](qint64 written) { worker.setProgress(written, totalBytes); }};
        auto block = colours.begin();
        std::size_t next = 0; // in the current block
        bool headerWritten = false;
        const tonfang::BytePieces pieces = [&](QByteArray &piece) {
            if (!std::exchange(headerWritten, true))
                piece.append(header.data(), qsizetype(header.size()));
            for (std::size_t rows = 0; block != colours.end() && rows < rowsPerPiece; ++rows) {
                const std::span<const tonfang::ColourNumber> numbers = *block;
                const std::string row = tonfang::gimpPaletteRow(tonfang::TColorToRGB(numbers[next]));
                piece.append(row.data(), qsizetype(row.size()));
                if (++next == numbers.size()) {
                    ++block;
                    next = 0;
                }
            }
            return block != colours.end();
        };
        tonfang::saveBytesAtomically(fileName, pieces, totalBytes, control);
    });
}
