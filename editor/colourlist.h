#pragma once
// The colour list: entries of a label and a colour number, in order, as many as
// the user likes (tens of millions). An entry costs its four-byte colour number;
// a label is kept only where it is not the one its colour gives. The view keeps
// nothing per row: its rows are 16 pixels high and drawn only while visible.

#include "core/colour.h"

#include <QAbstractItemView>
#include <QAbstractListModel>

#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

class ColourListModel;
class QColor;
class QDrag;

namespace tonfang {

struct ColourListEntry {
    QString label;
    ColourNumber colour = 0;
};

// A run of colours as a file reader hands them over; a list takes it as it is.
using ColourBlock = std::vector<ColourNumber>;

// The most entries the colour list takes: an open that would take it past
// this appends nothing.
inline constexpr std::uint64_t colourListCapacity = 100'000'000;

// The colour a colour number stands for, as Qt paints and edits it.
QColor colourOf(ColourNumber colour);

namespace colourlist {
// A piece of the list: its colours, and the labels of those of its entries whose
// label is not their colour's own, by offset in the piece.
struct Block {
    ColourBlock colours;
    std::vector<std::pair<std::uint32_t, QString>> labels; // sorted by offset
};
} // namespace colourlist

// The colours of a list as they were when it was taken. It shares the list's
// pieces, which the list copies before it changes one that is shared, so it can
// be read on another thread while the list goes on changing.
class ColourListSnapshot {
public:
    qint64 size() const { return m_size; }
    std::size_t blockCount() const { return m_blocks.size(); }
    std::span<const ColourNumber> block(std::size_t i) const
    {
        return m_blocks[i]->colours;
    }

    // Walks the pieces in order: for (std::span<const ColourNumber> colours : snapshot)
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::span<const ColourNumber>;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = value_type;
        const_iterator() = default;
        value_type operator*() const { return (*m_at)->colours; }
        const_iterator &operator++()
        {
            ++m_at;
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator before = *this;
            ++m_at;
            return before;
        }
        friend bool operator==(const const_iterator &, const const_iterator &) = default;

    private:
        friend class ColourListSnapshot;
        using Base = std::vector<std::shared_ptr<const colourlist::Block>>::const_iterator;
        explicit const_iterator(Base at) : m_at(at) {}
        Base m_at{};
    };
    const_iterator begin() const { return const_iterator(m_blocks.begin()); }
    const_iterator end() const { return const_iterator(m_blocks.end()); }

private:
    friend class ::ColourListModel;
    std::vector<std::shared_ptr<const colourlist::Block>> m_blocks;
    qint64 m_size = 0;
};

} // namespace tonfang

class ColourListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    // data() under this role: the entry's colour number as an int.
    static constexpr int ColourRole = Qt::UserRole + 1;
    // The most colours a piece of the list holds. appendBlocks() takes blocks
    // of a quarter of this up to this size as they are; smaller ones are copied
    // onto the last piece and larger ones into pieces of this size.
    static constexpr std::size_t blockCapacity = 65536;

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

    int count() const { return m_count; }
    tonfang::ColourListEntry entry(int row) const;
    tonfang::ColourNumber colourAt(int row) const;
    QString labelAt(int row) const;

    void append(const QString &label, tonfang::ColourNumber colour);
    void append(std::vector<tonfang::ColourListEntry> entries); // one insertion for many rows
    // One insertion; the entries' labels are their colours' own.
    void appendBlocks(std::vector<tonfang::ColourBlock> blocks);
    void removeEntry(int row);
    // Empties the list and gives its memory back to the system.
    void clear();
    // Takes the entry out of `from` and puts it back so that it stands at `to`.
    void moveEntry(int from, int to);

    tonfang::ColourListSnapshot snapshot() const;

    static QString mimeType();  // the drag payload of an entry of this list
    // Names this list among all lists of all running programs.
    QByteArray listId() const;
    // The payload of a drag of one entry, or nothing for any other data.
    static std::optional<DragPayload> dragPayload(const QMimeData *mime);

private:
    using Block = tonfang::colourlist::Block;
    // The piece holding `row` and the row's offset in it.
    std::pair<std::size_t, std::uint32_t> locate(int row) const;
    // The piece at `i`, copied first if a snapshot shares it.
    Block &writable(std::size_t i);
    void takeOut(int row, tonfang::ColourNumber &colour, std::optional<QString> &label);
    void putIn(int row, tonfang::ColourNumber colour, std::optional<QString> label);
    void addBlock(std::shared_ptr<Block> block);
    void renumberFrom(std::size_t i);

    std::vector<std::shared_ptr<Block>> m_blocks;
    std::vector<int> m_starts; // the first row of each piece
    int m_count = 0;
};

class ColourListView : public QAbstractItemView {
    Q_OBJECT
public:
    static constexpr int rowHeight = 16;

    explicit ColourListView(QWidget *parent = nullptr);
    ColourListModel *colourModel() const { return m_model; }

    // The colour of the selected entry, or 0xFF000000 when nothing is selected.
    std::int64_t selectedColour() const;

    QRect visualRect(const QModelIndex &index) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint &point) const override;
    // No type-ahead: every label starts alike, and a search that finds nothing
    // would walk millions of rows while the window stands still.
    void keyboardSearch(const QString &search) override;

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex &index) const override;
    void setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection &selection) const override;
    void updateGeometries() override;
    void paintEvent(QPaintEvent *event) override;
    // Tells a screen reader which row has the focus.
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

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
    // The top of `row` in the viewport, which may lie far outside it.
    qint64 rowTop(int row) const;
    QRect rowRect(int row) const;
    void rowsChanged();

    ColourListModel *m_model;
    // The entry under the last left-button press; follows it if rows move.
    QPersistentModelIndex m_pressedEntry;
};
