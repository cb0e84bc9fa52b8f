#pragma once
// The colour list: entries of a label and a colour number, in order, as many as
// the user likes. A plain vector-backed model keeps a million rows cheap; the view
// draws a colour sample before each label with uniform 16-pixel rows.

#include "core/colour.h"

#include <QAbstractListModel>
#include <QListView>

#include <optional>
#include <vector>

class QDrag;

struct ColourListEntry {
    QString label;
    tonfang::ColourNumber colour = 0;
};

class ColourListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    // data() under this role: the entry's colour number as an int.
    static constexpr int ColourRole = Qt::UserRole + 1;

    // What a drag of an entry carries: which list it left and from which row.
    struct DragPayload {
        QByteArray listId;
        int row = -1;
    };

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    Qt::DropActions supportedDragActions() const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;

    const std::vector<ColourListEntry> &entries() const { return m_entries; }
    int count() const { return int(m_entries.size()); }
    const ColourListEntry &entry(int row) const { return m_entries[std::size_t(row)]; }

    void append(const QString &label, tonfang::ColourNumber colour);
    void append(std::vector<ColourListEntry> entries); // one insertion for many rows
    void removeEntry(int row);
    void clear();
    // Takes the entry out of `from` and puts it back so that it stands at `to`.
    void moveEntry(int from, int to);

    static QString mimeType();  // the drag payload of an entry of this list
    // Names this list among all lists of all running programs.
    QByteArray listId() const;
    // The payload of a drag of one entry, or nothing for any other data.
    static std::optional<DragPayload> dragPayload(const QMimeData *mime);

private:
    std::vector<ColourListEntry> m_entries;
};

class ColourListView : public QListView {
    Q_OBJECT
public:
    explicit ColourListView(QWidget *parent = nullptr);
    ColourListModel *colourModel() const { return m_model; }

    // The colour of the selected entry, or 0xFF000000 when nothing is selected.
    std::int64_t selectedColour() const;

protected:
    // Like a plain list box: only the left button selects, and a click never
    // clears the selection (Ctrl+click would, leaving no entry for the colour).
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;
    // Only a left-button press on an entry may start a drag, and the drag
    // carries that entry, whatever was selected before.
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    // Never removes rows after a move: where the entry goes is decided by the
    // drop handler alone.
    void startDrag(Qt::DropActions supportedActions) override;
    // Runs the drag until the drop; the platform's drag loop by default.
    virtual Qt::DropAction execDrag(QDrag *drag, Qt::DropActions supportedActions);
    // Without a drop handler installed on the viewport every drop is refused.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    ColourListModel *m_model;
    // The entry under the last left-button press; follows it if rows move.
    QPersistentModelIndex m_pressedEntry;
};
