#include "listfile/colourlisthandlers.h"

#include "core/colour.h"
#include "editor/colourlist.h"
#include "editor/swatch.h"
#include "editor/tprog.h"
#include "listfile/backgroundjob.h"
#include "listfile/colourlistfile.h"
#include "editor/currentcolour.h"
#include "listfile/filedialogs.h"
#include "listfile/listfiletexts.h"

#include <QAction>
#include <QColorDialog>
#include <QDropEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QScrollBar>

#include <exception>
#include <memory>

using tonfang::ColourBlock;
using tonfang::ColourListSnapshot;
using tonfang::colourOf;

namespace {

// The texts of the file dialogs; they are the same in every language.
namespace texts {
const auto fileFilter = QStringLiteral("Text (*.txt)");
const auto defaultSuffix = QStringLiteral("txt");
} // namespace texts

// Drags near the top or bottom edge scroll the list a row at a time, so that
// an entry can travel through a list longer than the window.
constexpr int autoScrollMargin = 16;

tonfang::Rgb toRgb(const QColor &colour)
{
    return {std::uint8_t(colour.red()), std::uint8_t(colour.green()), std::uint8_t(colour.blue())};
}

// The row a drag of this list carries, or nothing for a drag from elsewhere.
std::optional<int> draggedRow(const ColourListModel &model, const QMimeData *mime)
{
    const auto payload = ColourListModel::dragPayload(mime);
    if (!payload || payload->listId != model.listId() || payload->row >= model.count())
        return std::nullopt;
    return payload->row;
}

// Sets a flag for as long as it lives.
class FlagScope {
public:
    explicit FlagScope(bool &flag) : m_flag(flag) { m_flag = true; }
    ~FlagScope() { m_flag = false; }
    FlagScope(const FlagScope &) = delete;
    FlagScope &operator=(const FlagScope &) = delete;

private:
    bool &m_flag;
};

} // namespace

ColourListHandlers::ColourListHandlers(Tprog &prog)
    : QObject(&prog)
    , m_prog(prog)
    , m_list(prog.ColorListBox1)
    , m_listViewport(prog.ColorListBox1->viewport())
{
    setObjectName(QStringLiteral("colourListHandlers"));

    connect(prog.farbfeld, &Swatch::doubleClicked, this, &ColourListHandlers::farbfeldDblClick);

    // A selection by mouse or keyboard makes the entry's colour current; so does
    // a click on the entry that is already selected. A selection that only
    // follows removed rows does not.
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_editingList && m_list->selectionModel()->hasSelection())
            ColorListBox1Click();
    });
    connect(m_list, &QAbstractItemView::clicked, this, &ColourListHandlers::ColorListBox1Click);

    m_list->installEventFilter(this);
    m_listViewport->installEventFilter(this);

    const auto menuItem = [this](QAction *item, void (ColourListHandlers::*handler)()) {
        connect(item, &QAction::triggered, this, [this, handler] { runMenuHandler(handler); });
    };
    menuItem(prog.farblisteloeschen, &ColourListHandlers::farblisteloeschenClick);
    menuItem(prog.windialog, &ColourListHandlers::windialogClick);
    menuItem(prog.savecol, &ColourListHandlers::savecolClick);
    menuItem(prog.opencol, &ColourListHandlers::opencolClick);
}

void ColourListHandlers::runMenuHandler(void (ColourListHandlers::*handler)())
{
    try {
        (this->*handler)();
    } catch (...) {
        QMetaObject::invokeMethod(
            this, [error = std::current_exception()] { std::rethrow_exception(error); },
            Qt::QueuedConnection);
    }
}

bool ColourListHandlers::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress)
        return ColorListBox1KeyDown(static_cast<QKeyEvent *>(event));
    if (watched == m_listViewport) {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
            ColorListBox1DragOver(static_cast<QDragMoveEvent *>(event));
            return true;
        case QEvent::Drop:
            ColorListBox1DragDrop(static_cast<QDropEvent *>(event));
            return true;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void ColourListHandlers::farbfeldDblClick()
{
    if (m_prog.m_add_doppelklick->isChecked())
        tonfang::addCurrentColourToList(m_prog);
}

void ColourListHandlers::ColorListBox1Click()
{
    m_prog.RGBtoALL(tonfang::TColorToRGB(m_list->selectedColour()));
}

void ColourListHandlers::ColorListBox1DragOver(QDragMoveEvent *event)
{
    if (!draggedRow(*m_list->colourModel(), event->mimeData())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();

    if (event->type() == QEvent::DragMove) {
        const int y = event->position().toPoint().y();
        QScrollBar *bar = m_list->verticalScrollBar();
        if (y < autoScrollMargin)
            bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        else if (y >= m_list->viewport()->height() - autoScrollMargin)
            bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    }
}

void ColourListHandlers::ColorListBox1DragDrop(QDropEvent *event)
{
    ColourListModel *model = m_list->colourModel();
    const std::optional<int> from = draggedRow(*model, event->mimeData());
    if (!from) {
        event->ignore();
        return;
    }
    // A point below the last entry counts as the last row.
    const QModelIndex under = m_list->indexAt(event->position().toPoint());
    const int to = under.isValid() ? under.row() : model->count() - 1;
    {
        const FlagScope editing(m_editingList);
        model->moveEntry(*from, to);
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

bool ColourListHandlers::ColorListBox1KeyDown(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Delete)
        return false;
    const QModelIndexList selected = m_list->selectionModel()->selectedIndexes();
    if (!selected.isEmpty()) {
        // The view would select the next entry in its place without making its
        // colour current; nothing stays selected instead, so that the selection
        // never disagrees with the displays.
        const FlagScope editing(m_editingList);
        m_list->colourModel()->removeEntry(selected.front().row());
        m_list->selectionModel()->clearSelection();
    }
    return true;
}

void ColourListHandlers::farblisteloeschenClick()
{
    const FlagScope editing(m_editingList);
    m_list->colourModel()->clear();
}

QColorDialog *ColourListHandlers::colourDialog()
{
    if (!m_cd) {
        m_cd = new QColorDialog(&m_prog);
        m_cd->setObjectName(QStringLiteral("cd"));
        m_cd->setOption(QColorDialog::DontUseNativeDialog);
    }
    return m_cd;
}

void ColourListHandlers::windialogClick()
{
    QColorDialog *cd = colourDialog();
    cd->setCurrentColor(colourOf(m_prog.farbfeld->colour()));
    if (cd->exec() != QDialog::Accepted)
        return;
    m_prog.RGBtoALL(toRgb(cd->selectedColor()));
}

QFileDialog *ColourListHandlers::fileDialog(QPointer<QFileDialog> &dialog, const char *name,
                                            bool saving)
{
    if (!dialog) {
        dialog = new QFileDialog(&m_prog);
        dialog->setObjectName(QString::fromLatin1(name));
        dialog->setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        // Like the save dialog, the open dialog takes any name: a file that
        // does not exist is reported when it is opened.
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setNameFilter(texts::fileFilter);
        dialog->setDefaultSuffix(texts::defaultSuffix);
        dialog->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    }
    return dialog;
}

void ColourListHandlers::savecolClick()
{
    const QString fileName = tonfang::askFileName(fileDialog(m_sd, "sd", true));
    if (fileName.isEmpty())
        return;
    // The colours are taken here, on this thread: the worker writes them from
    // pieces the list copies before it changes them.
    const ColourListSnapshot colours = m_list->colourModel()->snapshot();
    const qint64 totalBytes = tonfang::colourListFileSize(colours.size());

    BackgroundJob job(&m_prog, tonfang::savingColourListText());
    job.run([&](BackgroundJob &worker) {
        const tonfang::SaveControl control{
            [&worker] { return worker.cancelRequested(); },
            [&worker, totalBytes](qint64 written) { worker.setProgress(written, totalBytes); }};
        // A picture file name is refused without a word, and a cancelled save
        // leaves the old file: both give false, and nothing is shown.
        tonfang::saveColourListFile(colours, fileName, control);
    });
}

void ColourListHandlers::opencolClick()
{
    const QString fileName = tonfang::askFileName(fileDialog(m_od, "od", false));
    if (fileName.isEmpty())
        return;
    ColourListModel &model = *m_list->colourModel();
    const tonfang::ColourListReadOptions options = tonfang::colourListReadOptions(model);

    // The worker reads and parses; its blocks are kept aside here, on this
    // thread, and appended in one step once the whole file has settled what
    // they are worth.
    std::vector<ColourBlock> blocks;
    tonfang::ColourListReadResult result;
    BackgroundJob job(&m_prog, tonfang::openingColourListText());
    job.run([&](BackgroundJob &worker) {
        tonfang::ColourListReadHooks hooks;
        hooks.deliver = [&worker, &blocks](ColourBlock &&block) {
            auto handed = std::make_shared<ColourBlock>(std::move(block));
            worker.post([&blocks, handed] { blocks.push_back(std::move(*handed)); });
        };
        hooks.progress = [&worker](qint64 bytesRead, qint64 fileSize) {
            worker.setProgress(bytesRead, fileSize > 0 ? fileSize : -1);
        };
        hooks.cancelRequested = [&worker] { return worker.cancelRequested(); };
        result = tonfang::readColourListFile(fileName, hooks, options);
    });
    tonfang::settleColourListOpening(model, std::move(blocks), result);
}
