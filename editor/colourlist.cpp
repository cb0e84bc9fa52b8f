#include "editor/colourlist.h"

#include <QApplication>
#include <QDataStream>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <iterator>

namespace {

constexpr int rowHeight = 16;
constexpr QSize sampleSize(22, 10);
constexpr int sampleMargin = 3; // before the sample and between sample and label

QColor colourOf(tonfang::ColourNumber colour)
{
    const auto number = static_cast<std::uint32_t>(colour);
    return QColor(int(number & 0xFF), int((number >> 8) & 0xFF), int((number >> 16) & 0xFF));
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
    const ColourListEntry &item = entry(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return item.label;
    case Qt::DecorationRole:
        return colourOf(item.colour);
    case ColourRole:
        return int(item.colour);
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

void ColourListModel::append(const QString &label, tonfang::ColourNumber colour)
{
    const int row = count();
    beginInsertRows({}, row, row);
    m_entries.push_back({label, colour});
    endInsertRows();
}

void ColourListModel::append(std::vector<ColourListEntry> entries)
{
    if (entries.empty())
        return;
    const int first = count();
    beginInsertRows({}, first, first + int(entries.size()) - 1);
    if (m_entries.empty())
        m_entries = std::move(entries);
    else
        m_entries.insert(m_entries.end(), std::make_move_iterator(entries.begin()),
                         std::make_move_iterator(entries.end()));
    endInsertRows();
}

void ColourListModel::removeEntry(int row)
{
    if (row < 0 || row >= count())
        return;
    beginRemoveRows({}, row, row);
    m_entries.erase(m_entries.begin() + row);
    endRemoveRows();
}

void ColourListModel::clear()
{
    if (m_entries.empty())
        return;
    beginResetModel();
    m_entries.clear();
    m_entries.shrink_to_fit();
    endResetModel();
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
    const auto source = m_entries.begin() + from;
    const auto target = m_entries.begin() + to;
    if (from < to)
        std::rotate(source, source + 1, target + 1);
    else
        std::rotate(target, source, source + 1);
    endMoveRows();
}

// ---- view ---------------------------------------------------------------------

ColourListView::ColourListView(QWidget *parent)
    : QListView(parent)
    , m_model(new ColourListModel(this))
{
    setModel(m_model);
    setItemDelegate(new ColourListDelegate(this));
    setUniformItemSizes(true);
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
}

std::int64_t ColourListView::selectedColour() const
{
    constexpr std::int64_t noColourSelected = 0xFF000000;
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty() || !selected.front().isValid()
        || selected.front().row() >= m_model->count())
        return noColourSelected;
    return std::int64_t(std::uint32_t(m_model->entry(selected.front().row()).colour));
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
    const QItemSelectionModel::SelectionFlags flags = QListView::selectionCommand(index, event);
    if (flags.testFlag(QItemSelectionModel::Deselect))
        return QItemSelectionModel::NoUpdate;
    return flags;
}

void ColourListView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressedEntry = indexAt(event->position().toPoint());
    QListView::mousePressEvent(event);
}

void ColourListView::mouseMoveEvent(QMouseEvent *event)
{
    // Qt starts a drag on a move with any button held; a right or middle drag
    // would carry the selected entry off without the user having chosen it.
    if (event->buttons() != Qt::NoButton && !event->buttons().testFlag(Qt::LeftButton))
        return;
    QListView::mouseMoveEvent(event);
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
