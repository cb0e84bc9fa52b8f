#include "editor/colourlist.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QDataStream>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <unordered_map>

using tonfang::ColourBlock;
using tonfang::ColourListEntry;
using tonfang::ColourListSnapshot;
using tonfang::colourOf;

QColor tonfang::colourOf(ColourNumber colour)
{
    const auto number = static_cast<std::uint32_t>(colour);
    return QColor(int(number & 0xFF), int((number >> 8) & 0xFF), int((number >> 16) & 0xFF));
}

namespace {

constexpr int rowHeight = ColourListView::rowHeight;
constexpr QSize sampleSize(22, 10);
constexpr int sampleMargin = 3; // before the sample and between sample and label

// The label a colour gives, "(255 128 000)".
QString ownLabel(tonfang::ColourNumber colour)
{
    return QString::fromStdString(tonfang::listEntryLabel(tonfang::TColorToRGB(colour)));
}

// The label worth keeping: none when it is the colour's own.
std::optional<QString> oddLabel(const QString &label, tonfang::ColourNumber colour)
{
    if (label == ownLabel(colour))
        return std::nullopt;
    return label;
}

// Draws a row as a framed colour sample followed by the label. It reads the
// model straight away and asks the style only for the selection background, so
// that scrolling through a very long list stays cheap.
class ColourListDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        return QSize(option.rect.width(), rowHeight);
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem background = option;
        background.text.clear();
        background.features &= ~QStyleOptionViewItem::HasDecoration;
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &background, painter, widget);

        const bool selected = option.state & QStyle::State_Selected;
        const QRect row = option.rect;
        const QRect sample(row.left() + sampleMargin,
                           row.top() + (row.height() - sampleSize.height()) / 2,
                           sampleSize.width(), sampleSize.height());
        painter->save();
        painter->fillRect(sample, colourOf(index.data(ColourListModel::ColourRole).toInt()));
        painter->setPen(option.palette.color(QPalette::Text));
        painter->drawRect(sample.adjusted(0, 0, -1, -1));

        const QRect label = row.adjusted(sample.right() + 1 + sampleMargin - row.left(), 0, 0, 0);
        painter->setPen(option.palette.color(
            option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled,
            selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        painter->drawText(label, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }
};

using Labels = std::vector<std::pair<std::uint32_t, QString>>;

Labels::iterator labelAtOrAfter(Labels &labels, std::uint32_t offset)
{
    return std::lower_bound(labels.begin(), labels.end(), offset,
                            [](const auto &label, std::uint32_t at) { return label.first < at; });
}

} // namespace

// ---- model --------------------------------------------------------------------

int ColourListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant ColourListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return labelAt(index.row());
    case Qt::DecorationRole:
        return colourOf(colourAt(index.row()));
    case ColourRole:
        return int(colourAt(index.row()));
    default:
        return {};
    }
}

Qt::ItemFlags ColourListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled
         | Qt::ItemNeverHasChildren;
}

Qt::DropActions ColourListModel::supportedDragActions() const
{
    return Qt::MoveAction;
}

QString ColourListModel::mimeType()
{
    return QStringLiteral("application/x-tonfang-colour-list-entry");
}

QStringList ColourListModel::mimeTypes() const
{
    return {mimeType()};
}

QByteArray ColourListModel::listId() const
{
    // The process id tells two running programs apart, the address two lists of
    // one program.
    return QByteArray::number(QCoreApplication::applicationPid()) + ':'
         + QByteArray::number(reinterpret_cast<quintptr>(this), 16);
}

QMimeData *ColourListModel::mimeData(const QModelIndexList &indexes) const
{
    // The list drags one entry at a time: the first valid index is the one.
    const auto dragged = std::find_if(indexes.begin(), indexes.end(), [this](const QModelIndex &i) {
        return i.isValid() && i.model() == this && i.row() < count();
    });
    if (dragged == indexes.end())
        return nullptr;

    QByteArray payload;
    QDataStream stream(&payload, QIODevice::WriteOnly);
    stream << listId() << qint32(dragged->row());
    auto *mime = new QMimeData;
    mime->setData(mimeType(), payload);
    return mime;
}

std::optional<ColourListModel::DragPayload> ColourListModel::dragPayload(const QMimeData *mime)
{
    if (!mime || !mime->hasFormat(mimeType()))
        return std::nullopt;
    const QByteArray payload = mime->data(mimeType());
    QDataStream stream(payload);
    DragPayload result;
    qint32 row = -1;
    stream >> result.listId >> row;
    if (stream.status() != QDataStream::Ok || row < 0)
        return std::nullopt;
    result.row = row;
    return result;
}

std::pair<std::size_t, std::uint32_t> ColourListModel::locate(int row) const
{
    const auto after = std::upper_bound(m_starts.begin(), m_starts.end(), row);
    const auto block = std::size_t(after - m_starts.begin() - 1);
    return {block, std::uint32_t(row - m_starts[block])};
}

tonfang::ColourNumber ColourListModel::colourAt(int row) const
{
    const auto [block, offset] = locate(row);
    return m_blocks[block]->colours[offset];
}

QString ColourListModel::labelAt(int row) const
{
    const auto [block, offset] = locate(row);
    const Block &piece = *m_blocks[block];
    const auto label = std::lower_bound(
        piece.labels.begin(), piece.labels.end(), offset,
        [](const auto &label, std::uint32_t at) { return label.first < at; });
    if (label != piece.labels.end() && label->first == offset)
        return label->second;
    return ownLabel(piece.colours[offset]);
}

ColourListEntry ColourListModel::entry(int row) const
{
    return {labelAt(row), colourAt(row)};
}

ColourListModel::Block &ColourListModel::writable(std::size_t i)
{
    std::shared_ptr<Block> &block = m_blocks[i];
    if (block.use_count() > 1)
        block = std::make_shared<Block>(*block);
    else // a snapshot let go of it on another thread: see its reads finished
        std::atomic_thread_fence(std::memory_order_acquire);
    return *block;
}

void ColourListModel::renumberFrom(std::size_t i)
{
    m_starts.resize(m_blocks.size());
    for (; i < m_blocks.size(); ++i)
        m_starts[i] = i == 0 ? 0 : m_starts[i - 1] + int(m_blocks[i - 1]->colours.size());
}

void ColourListModel::addBlock(std::shared_ptr<Block> block)
{
    const std::size_t size = block->colours.size();
    if (size == 0)
        return;
    // Small pieces join the last one, so that many short reads do not leave
    // the list in many short pieces.
    if (size < blockCapacity / 4 && !m_blocks.empty()
        && m_blocks.back()->colours.size() + size <= blockCapacity) {
        Block &last = writable(m_blocks.size() - 1);
        const auto shift = std::uint32_t(last.colours.size());
        last.colours.insert(last.colours.end(), block->colours.begin(), block->colours.end());
        for (auto &[offset, label] : block->labels)
            last.labels.emplace_back(offset + shift, std::move(label));
    } else {
        m_starts.push_back(m_count);
        m_blocks.push_back(std::move(block));
    }
    m_count += int(size);
}

void ColourListModel::takeOut(int row, tonfang::ColourNumber &colour,
                              std::optional<QString> &label)
{
    const auto [i, offset] = locate(row);
    Block &block = writable(i);
    colour = block.colours[offset];
    block.colours.erase(block.colours.begin() + offset);
    auto at = labelAtOrAfter(block.labels, offset);
    if (at != block.labels.end() && at->first == offset) {
        label = std::move(at->second);
        at = block.labels.erase(at);
    }
    for (; at != block.labels.end(); ++at)
        --at->first;
    if (block.colours.empty()) {
        m_blocks.erase(m_blocks.begin() + std::ptrdiff_t(i));
        m_starts.erase(m_starts.begin() + std::ptrdiff_t(i));
    }
    --m_count;
    renumberFrom(i);
}

void ColourListModel::putIn(int row, tonfang::ColourNumber colour, std::optional<QString> label)
{
    if (row == m_count && (m_blocks.empty() || m_blocks.back()->colours.size() >= blockCapacity)) {
        m_starts.push_back(m_count);
        m_blocks.push_back(std::make_shared<Block>());
    }
    std::size_t i = m_blocks.size() - 1;
    std::uint32_t offset = std::uint32_t(m_blocks.back()->colours.size());
    if (row < m_count)
        std::tie(i, offset) = locate(row);

    Block &block = writable(i);
    block.colours.insert(block.colours.begin() + offset, colour);
    auto at = labelAtOrAfter(block.labels, offset);
    for (auto later = at; later != block.labels.end(); ++later)
        ++later->first;
    if (label)
        block.labels.emplace(at, offset, std::move(*label));

    if (block.colours.size() > blockCapacity) {
        // A full piece splits in two halves.
        const std::uint32_t half = std::uint32_t(block.colours.size() / 2);
        auto tail = std::make_shared<Block>();
        tail->colours.assign(block.colours.begin() + half, block.colours.end());
        block.colours.resize(half);
        block.colours.shrink_to_fit();
        const auto firstOfTail = labelAtOrAfter(block.labels, half);
        for (auto moving = firstOfTail; moving != block.labels.end(); ++moving)
            tail->labels.emplace_back(moving->first - half, std::move(moving->second));
        block.labels.erase(firstOfTail, block.labels.end());
        m_blocks.insert(m_blocks.begin() + std::ptrdiff_t(i) + 1, std::move(tail));
    }
    ++m_count;
    renumberFrom(i);
}

void ColourListModel::append(const QString &label, tonfang::ColourNumber colour)
{
    const int row = count();
    beginInsertRows({}, row, row);
    putIn(row, colour, oddLabel(label, colour));
    endInsertRows();
}

void ColourListModel::append(std::vector<ColourListEntry> entries)
{
    if (entries.empty())
        return;
    const int first = count();
    beginInsertRows({}, first, first + int(entries.size()) - 1);
    for (std::size_t start = 0; start < entries.size(); start += blockCapacity) {
        const std::size_t end = std::min(entries.size(), start + blockCapacity);
        auto block = std::make_shared<Block>();
        block->colours.reserve(end - start);
        for (std::size_t i = start; i < end; ++i) {
            ColourListEntry &entry = entries[i];
            if (auto label = oddLabel(entry.label, entry.colour))
                block->labels.emplace_back(std::uint32_t(i - start), std::move(*label));
            block->colours.push_back(entry.colour);
        }
        addBlock(std::move(block));
    }
    endInsertRows();
}

void ColourListModel::appendBlocks(std::vector<ColourBlock> blocks)
{
    std::size_t total = 0;
    for (const ColourBlock &block : blocks)
        total += block.size();
    if (total == 0)
        return;
    const int first = count();
    beginInsertRows({}, first, first + int(total) - 1);
    for (ColourBlock &colours : blocks) {
        if (colours.size() <= blockCapacity) {
            addBlock(std::make_shared<Block>(Block{std::move(colours), {}}));
            continue;
        }
        // Only a piece larger than the list's own is copied, in parts.
        for (std::size_t start = 0; start < colours.size(); start += blockCapacity) {
            const auto from = colours.begin() + std::ptrdiff_t(start);
            const auto to = colours.begin()
                          + std::ptrdiff_t(std::min(colours.size(), start + blockCapacity));
            addBlock(std::make_shared<Block>(Block{ColourBlock(from, to), {}}));
        }
    }
    endInsertRows();
}

void ColourListModel::removeEntry(int row)
{
    if (row < 0 || row >= count())
        return;
    beginRemoveRows({}, row, row);
    tonfang::ColourNumber colour = 0;
    std::optional<QString> label;
    takeOut(row, colour, label);
    endRemoveRows();
}

void ColourListModel::clear()
{
    if (m_count == 0)
        return;
    beginResetModel();
    m_blocks = {};
    m_starts = {};
    m_count = 0;
    endResetModel();
    // The pieces were freed one by one; hand the pages back to the system, or
    // the program keeps the size of the longest list it ever held.
    malloc_trim(0);
}

void ColourListModel::moveEntry(int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= count() || to >= count())
        return;
    // Qt names the destination as the row the entry is inserted before, counted
    // in the list as it stands before the move: one further when moving down.
    const bool moved = beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
    if (!moved)
        return;
    tonfang::ColourNumber colour = 0;
    std::optional<QString> label;
    takeOut(from, colour, label);
    putIn(to, colour, std::move(label));
    endMoveRows();
}

ColourListSnapshot ColourListModel::snapshot() const
{
    ColourListSnapshot snapshot;
    snapshot.m_blocks.assign(m_blocks.begin(), m_blocks.end());
    snapshot.m_size = m_count;
    return snapshot;
}

// ---- screen readers -----------------------------------------------------------

namespace {

// One row as a screen reader sees it: made only when one asks for it.
class ColourListRowAccessible : public QAccessibleInterface {
public:
    ColourListRowAccessible(ColourListView *view, int row) : m_view(view), m_row(row) {}
    int row() const { return m_row; }
    const ColourListView *view() const { return m_view; }

    bool isValid() const override { return m_view && m_row < m_view->colourModel()->count(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_view);
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid() || (t != QAccessible::Name && t != QAccessible::Description))
            return {};
        return m_view->colourModel()->labelAt(m_row);
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect row = m_view->visualRect(m_view->colourModel()->index(m_row));
        return QRect(m_view->viewport()->mapToGlobal(row.topLeft()), row.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid())
            return state;
        const QModelIndex index = m_view->colourModel()->index(m_row);
        state.selectable = true;
        state.focusable = true;
        state.selected = m_view->selectionModel()->isSelected(index);
        state.focused = m_view->hasFocus() && m_view->currentIndex() == index;
        state.offscreen = !m_view->viewport()->rect().intersects(m_view->visualRect(index));
        return state;
    }

private:
    QPointer<ColourListView> m_view;
    int m_row;
};

class ColourListAccessible : public QAccessibleWidget {
public:
    explicit ColourListAccessible(ColourListView *view) : QAccessibleWidget(view, QAccessible::List)
    {
    }
    ~ColourListAccessible() override { forgetRows(); }

    ColourListView *view() const { return static_cast<ColourListView *>(widget()); }
    int childCount() const override { return view()->colourModel()->count(); }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        const auto known = m_rows.find(index);
        if (known != m_rows.end())
            return QAccessible::accessibleInterface(known->second);
        auto *row = new ColourListRowAccessible(view(), index);
        m_rows.emplace(index, QAccessible::registerAccessibleInterface(row));
        return row;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto *row = dynamic_cast<const ColourListRowAccessible *>(child);
        return row && row->view() == view() && row->isValid() ? row->row() : -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QModelIndex index = view()->indexAt(view()->viewport()->mapFromGlobal(QPoint(x, y)));
        return index.isValid() ? child(index.row()) : nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        const QModelIndex current = view()->currentIndex();
        return view()->hasFocus() && current.isValid() ? child(current.row()) : nullptr;
    }
    // Rows are known by number, so any change to the list makes them stale.
    void forgetRows()
    {
        for (const auto &[row, id] : m_rows)
            QAccessible::deleteAccessibleInterface(id);
        m_rows.clear();
    }

private:
    mutable std::unordered_map<int, QAccessible::Id> m_rows;
};

// Qt gives its own list interface to QListView only.
QAccessibleInterface *colourListAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(ColourListView::staticMetaObject.className()))
        if (auto *view = qobject_cast<ColourListView *>(object))
            return new ColourListAccessible(view);
    return nullptr;
}

} // namespace

// ---- view ---------------------------------------------------------------------

ColourListView::ColourListView(QWidget *parent)
    : QAbstractItemView(parent)
    , m_model(new ColourListModel(this))
{
    static const bool accessible = (QAccessible::installFactory(&colourListAccessible), true);
    Q_UNUSED(accessible);
    setModel(m_model);
    setItemDelegate(new ColourListDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideNone);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setDropIndicatorShown(false);

    // The scroll range follows the number of rows; nothing else is laid out.
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &ColourListView::rowsChanged);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &ColourListView::rowsChanged);
    connect(m_model, &QAbstractItemModel::rowsMoved, this, &ColourListView::rowsChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this, &ColourListView::rowsChanged);
}

void ColourListView::rowsChanged()
{
    updateGeometries();
    viewport()->update();
    if (QAccessible::isActive())
        if (auto *list = dynamic_cast<ColourListAccessible *>(QAccessible::queryAccessibleInterface(this)))
            list->forgetRows();
}

void ColourListView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QAbstractItemView::currentChanged(current, previous);
    if (QAccessible::isActive() && current.isValid() && hasFocus()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(current.row());
        QAccessible::updateAccessibility(&focus);
    }
}

std::int64_t ColourListView::selectedColour() const
{
    constexpr std::int64_t noColourSelected = 0xFF000000;
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty() || !selected.front().isValid()
        || selected.front().row() >= m_model->count())
        return noColourSelected;
    return std::int64_t(std::uint32_t(m_model->colourAt(selected.front().row())));
}

qint64 ColourListView::rowTop(int row) const
{
    return qint64(row) * rowHeight - verticalOffset();
}

QRect ColourListView::rowRect(int row) const
{
    // Rows far outside the viewport keep their order but not their distance.
    const qint64 top = std::clamp(rowTop(row), qint64(INT_MIN / 2), qint64(INT_MAX / 2));
    return QRect(0, int(top), viewport()->width(), rowHeight);
}

QRect ColourListView::visualRect(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != m_model || index.row() >= m_model->count())
        return {};
    return rowRect(index.row());
}

QModelIndex ColourListView::indexAt(const QPoint &point) const
{
    if (point.x() < 0 || point.x() >= viewport()->width() || point.y() < 0)
        return {};
    const qint64 row = (qint64(point.y()) + verticalOffset()) / rowHeight;
    if (row >= m_model->count())
        return {};
    return m_model->index(int(row));
}

void ColourListView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (!index.isValid() || index.model() != m_model)
        return;
    const qint64 top = qint64(index.row()) * rowHeight;
    const qint64 height = viewport()->height();
    QScrollBar *bar = verticalScrollBar();
    qint64 value = bar->value();
    switch (hint) {
    case EnsureVisible:
        if (top < value)
            value = top;
        else if (top + rowHeight > value + height)
            value = top + rowHeight - height;
        break;
    case PositionAtTop:
        value = top;
        break;
    case PositionAtBottom:
        value = top + rowHeight - height;
        break;
    case PositionAtCenter:
        value = top + rowHeight / 2 - height / 2;
        break;
    }
    bar->setValue(int(std::clamp(value, qint64(0), qint64(bar->maximum()))));
}

QModelIndex ColourListView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers)
{
    const int rows = m_model->count();
    if (rows == 0)
        return {};
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return m_model->index(0);
    const qint64 page = std::max(1, viewport()->height() / rowHeight);
    qint64 row = current.row();
    switch (cursorAction) {
    case MoveUp:
    case MovePrevious:
        --row;
        break;
    case MoveDown:
    case MoveNext:
        ++row;
        break;
    case MovePageUp:
        row -= page;
        break;
    case MovePageDown:
        row += page;
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = rows - 1;
        break;
    case MoveLeft:
    case MoveRight:
        break;
    }
    return m_model->index(int(std::clamp(row, qint64(0), qint64(rows - 1))));
}

int ColourListView::horizontalOffset() const
{
    return 0;
}

int ColourListView::verticalOffset() const
{
    return verticalScrollBar()->value();
}

bool ColourListView::isIndexHidden(const QModelIndex &) const
{
    return false;
}

void ColourListView::setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command)
{
    const QRect area = rect.normalized();
    const qint64 top = qint64(area.top()) + verticalOffset();
    const qint64 bottom = qint64(area.bottom()) + verticalOffset();
    const int rows = m_model->count();
    QItemSelection selection;
    if (bottom >= 0 && top < qint64(rows) * rowHeight && area.right() >= 0
        && area.left() < viewport()->width())
        selection.select(m_model->index(int(std::max<qint64>(0, top / rowHeight))),
                         m_model->index(int(std::min<qint64>(rows - 1, bottom / rowHeight))));
    selectionModel()->select(selection, command);
}

QRegion ColourListView::visualRegionForSelection(const QItemSelection &selection) const
{
    const qint64 firstShown = verticalOffset() / rowHeight;
    const qint64 lastShown = (qint64(verticalOffset()) + viewport()->height()) / rowHeight;
    QRegion region;
    for (const QItemSelectionRange &range : selection) {
        const qint64 top = std::max<qint64>(range.top(), firstShown);
        const qint64 bottom = std::min<qint64>(range.bottom(), lastShown);
        if (top <= bottom)
            region += QRect(0, int(rowTop(int(top))), viewport()->width(),
                            int(bottom - top + 1) * rowHeight);
    }
    return region;
}

void ColourListView::updateGeometries()
{
    const qint64 content = qint64(m_model->count()) * rowHeight;
    const int height = viewport()->height();
    QScrollBar *bar = verticalScrollBar();
    bar->setSingleStep(rowHeight);
    bar->setPageStep(height);
    bar->setRange(0, int(std::clamp(content - height, qint64(0), qint64(INT_MAX))));
    horizontalScrollBar()->setRange(0, 0);
    QAbstractItemView::updateGeometries();
}

void ColourListView::paintEvent(QPaintEvent *event)
{
    const int rows = m_model->count();
    if (rows == 0)
        return;
    const QRect area = event->rect();
    const qint64 offset = verticalOffset();
    const qint64 first = std::max<qint64>(0, (qint64(area.top()) + offset) / rowHeight);
    const qint64 last = std::min<qint64>(rows - 1, (qint64(area.bottom()) + offset) / rowHeight);

    QPainter painter(viewport());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QStyle::State state = option.state;
    const QModelIndex current = currentIndex();
    const QItemSelectionModel *selection = selectionModel();
    for (qint64 row = first; row <= last; ++row) {
        const QModelIndex index = m_model->index(int(row));
        option.rect = rowRect(int(row));
        option.state = state;
        if (selection->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (index == current && hasFocus())
            option.state |= QStyle::State_HasFocus;
        itemDelegate()->paint(&painter, option, index);
    }
}

void ColourListView::keyboardSearch(const QString &)
{
}

QItemSelectionModel::SelectionFlags ColourListView::selectionCommand(const QModelIndex &index,
                                                                     const QEvent *event) const
{
    if (event && (event->type() == QEvent::MouseButtonPress
                  || event->type() == QEvent::MouseButtonDblClick
                  || event->type() == QEvent::MouseButtonRelease)) {
        if (static_cast<const QMouseEvent *>(event)->button() != Qt::LeftButton)
            return QItemSelectionModel::NoUpdate;
    }
    const QItemSelectionModel::SelectionFlags flags =
        QAbstractItemView::selectionCommand(index, event);
    if (flags.testFlag(QItemSelectionModel::Deselect))
        return QItemSelectionModel::NoUpdate;
    return flags;
}

void ColourListView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressedEntry = indexAt(event->position().toPoint());
    QAbstractItemView::mousePressEvent(event);
}

void ColourListView::mouseMoveEvent(QMouseEvent *event)
{
    // Qt starts a drag on a move with any button held; a right or middle drag
    // would carry the selected entry off without the user having chosen it.
    if (event->buttons() != Qt::NoButton && !event->buttons().testFlag(Qt::LeftButton))
        return;
    QAbstractItemView::mouseMoveEvent(event);
}

void ColourListView::startDrag(Qt::DropActions supportedActions)
{
    const QModelIndex pressed = m_pressedEntry;
    QMimeData *mime = m_model->mimeData({pressed});
    if (!mime)
        return;
    auto *drag = new QDrag(this); // Qt deletes it once the drag has ended
    drag->setMimeData(mime);
    const QRect row = visualRect(pressed);
    if (row.isValid()) {
        drag->setPixmap(viewport()->grab(row));
        drag->setHotSpot(viewport()->mapFromGlobal(QCursor::pos()) - row.topLeft());
    }
    // Unlike the default, nothing is removed here after a move: the drop
    // handler has already put the entry where it belongs.
    execDrag(drag, supportedActions);
}

Qt::DropAction ColourListView::execDrag(QDrag *drag, Qt::DropActions supportedActions)
{
    return drag->exec(supportedActions, Qt::MoveAction);
}

void ColourListView::dragEnterEvent(QDragEnterEvent *event)
{
    event->ignore();
}

void ColourListView::dragMoveEvent(QDragMoveEvent *event)
{
    event->ignore();
}

void ColourListView::dropEvent(QDropEvent *event)
{
    event->ignore();
}
