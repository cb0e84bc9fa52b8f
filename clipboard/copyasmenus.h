#pragma once
// The context menus "Kopieren als" of the swatch and of the colour list: a
// right click copies that colour as hex, rgb(), hsl() or oklch() text, the
// forms web and design tools read; the list's menu also saves the whole list
// as a GIMP palette. A right click neither selects an entry nor changes the
// current colour.

#include "core/colourformats.h"

#include <QObject>
#include <QPointer>

class QFileDialog;
class QMenu;
class QPoint;
class QWidget;
class Tprog;

class CopyAsMenus : public QObject {
    Q_OBJECT
public:
    // Asks the swatch and the list for their context menus; a child of the window.
    explicit CopyAsMenus(Tprog &prog);

    void farbfeldContextMenu(const QPoint &pos);
    // `pos` in the list's viewport; outside an entry only the palette item shows.
    void ColorListBox1ContextMenu(const QPoint &pos);
    // Asks for a file name and saves the list there.
    void saveGimpPaletteClick();

    // The colour as one line of text on the clipboard, with the decimal places
    // of the displays.
    void copyAs(tonfang::Rgb rgb, tonfang::ColourFormat format);
    // Writes every entry of the list as a GIMP palette named after the file,
    // on a worker thread with progress and Cancel for a long list. Throws
    // tonfang::FileError when the file cannot be written.
    void saveGimpPalette(const QString &fileName);

private:
    // A menu that deletes itself once closed, opened at `pos` of `widget`;
    // a null colour leaves out the copy items.
    void popUp(QWidget *widget, const QPoint &pos, const tonfang::Rgb *colour, bool withPalette);
    QFileDialog *paletteDialog();

    Tprog &m_prog;
    QPointer<QFileDialog> m_paletteDialog;
};
