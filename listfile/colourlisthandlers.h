#pragma once
// The colour list's handlers on the main window: adding the current colour by a
// double-click on the swatch, making a selected entry current, reordering by
// drag and drop within the list, the Delete key, clearing, the system colour
// dialog, and saving and opening the colour list file.

#include <QObject>
#include <QPointer>

class ColourListView;
class QColorDialog;
class QDragMoveEvent;
class QDropEvent;
class QFileDialog;
class QKeyEvent;
class Tprog;

class ColourListHandlers : public QObject {
    Q_OBJECT
public:
    // Connects itself to the window's swatch, list and file menu; a child of
    // the window.
    explicit ColourListHandlers(Tprog &prog);

    void farbfeldDblClick();
    void ColorListBox1Click();
    // Accepts the drag only when it carries an entry of this same list.
    void ColorListBox1DragOver(QDragMoveEvent *event);
    // Moves the dragged entry to the row under the drop point (the last row
    // when dropped below the last entry).
    void ColorListBox1DragDrop(QDropEvent *event);
    // Returns true when the key was used (Delete removes the selected entry).
    bool ColorListBox1KeyDown(QKeyEvent *event);
    void farblisteloeschenClick();
    void windialogClick();
    void savecolClick();
    void opencolClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Runs a menu item's handler. An error it raises is raised again from an
    // event of its own, so that it reaches the application's error handler
    // without unwinding through the menu's and action's code, which is not
    // built to be unwound and would be left half-way.
    void runMenuHandler(void (ColourListHandlers::*handler)());
    QColorDialog *colourDialog();
    QFileDialog *fileDialog(QPointer<QFileDialog> &dialog, const char *name, bool saving);

    Tprog &m_prog;
    // Held apart from the window: the list still sends events to the filter
    // while the window is being destroyed.
    ColourListView *const m_list;
    QWidget *const m_listViewport;
    // True while this class itself changes the list, so that the selection
    // moving along with removed rows does not change the current colour.
    bool m_editingList = false;
    QPointer<QColorDialog> m_cd;
    QPointer<QFileDialog> m_sd;
    QPointer<QFileDialog> m_od;
};
