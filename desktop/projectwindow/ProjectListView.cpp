#include "desktop/projectwindow/ProjectListView.h"

#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <algorithm>
#include <memory>

#include "core/project/ResultListDrag.h"
#include "desktop/platform/Twips.h"
#include "desktop/projectwindow/ProjectListModel.h"

namespace zv {

ProjectListView::ProjectListView(ProjectList list, QWidget* parent)
    : QTreeView(parent), list_(list), model_(new ProjectListModel(list, this)) {
    setModel(model_);
    // Only the Rename command starts the editing of a row's text.
    setEditTriggers(NoEditTriggers);
    // The right button over the file list opens the main window's list menu;
    // nothing else opens a menu over either list.
    setContextMenuPolicy(Qt::PreventContextMenu);
    if (list_ == ProjectList::Files) {
        setDragDropMode(DragDrop);
        setDropIndicatorShown(false);
    } else {
        // The result list starts its drags by its own rule (mouseMoveEvent).
        setDragEnabled(false);
        setAcceptDrops(false);
    }
}

void ProjectListView::SetDragSource(std::function<std::vector<std::string>()> source) {
    dragSource_ = std::move(source);
}

QMimeData* ProjectListView::DragData() const {
    QList<QUrl> urls;
    if (dragSource_) {
        for (const std::string& path : dragSource_())
            urls.append(QUrl::fromLocalFile(QString::fromStdString(path)));
    }
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}

QRect ProjectListView::RowRect(int row) const {
    const QModelIndex first = model_->index(row, header()->logicalIndex(0));
    const QModelIndex last = model_->index(row, header()->logicalIndex(header()->count() - 1));
    return visualRect(first) | visualRect(last);
}

std::vector<int> ProjectListView::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void ProjectListView::SelectRow(int row) {
    selectionModel()->select(model_->index(row, 0),
                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void ProjectListView::StartEditing(int row) {
    const QModelIndex name = model_->index(row, ProjectListModel::NameColumn);
    editedTag_ = QString::fromStdString(model_->Tag(row));
    editedText_ = model_->Text(row);
    committed_ = false;
    scrollTo(name);
    edit(name);
}

void ProjectListView::startDrag(Qt::DropActions) {
    std::unique_ptr<QMimeData> data(DragData());
    if (data->urls().isEmpty())
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data.release());
    // Files dragged from the result list may be copied, moved or linked (the
    // window checks its files afterwards); the file list hands out copies.
    const Qt::DropActions allowed = list_ == ProjectList::Results
                                        ? Qt::CopyAction | Qt::MoveAction | Qt::LinkAction
                                        : Qt::DropActions(Qt::CopyAction);
    const Qt::DropAction action = drag->exec(allowed, Qt::CopyAction);
    drag->deleteLater();
    emit DragFinished(action);
}

void ProjectListView::mouseMoveEvent(QMouseEvent* event) {
    if (list_ == ProjectList::Results && (event->buttons() & (Qt::LeftButton | Qt::RightButton)) &&
        selectionModel()->hasSelection() && ResultDragStarts(event->position().toPoint())) {
        startDrag(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction);
        return;
    }
    QTreeView::mouseMoveEvent(event);
}

bool ProjectListView::ResultDragStarts(const QPoint& position) const {
    const QPoint inList = viewport()->mapTo(this, position);
    const QRect frame = window()->frameGeometry();
    const int rowWidth = model_->rowCount() > 0 ? RowRect(0).width() : 0;
    return StartsResultListDrag(
        PixelsToTwipsX(inList.x()), PixelsToTwipsY(inList.y()),
        {PixelsToTwipsX(frame.left()), PixelsToTwipsY(frame.top()), PixelsToTwipsY(frame.height())},
        PixelsToTwipsX(rowWidth));
}

void ProjectListView::mouseReleaseEvent(QMouseEvent* event) {
    QTreeView::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton)
        emit RightButtonReleased(event->globalPosition().toPoint());
}

bool ProjectListView::TakesDrop(const QDropEvent& event) const {
    // A drag that started in this list and ends in it moves nothing.
    return list_ == ProjectList::Files && event.mimeData() != nullptr &&
           event.mimeData()->hasUrls() && event.source() != this;
}

void ProjectListView::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

void ProjectListView::dragMoveEvent(QDragMoveEvent* event) {
    if (TakesDrop(*event)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void ProjectListView::dropEvent(QDropEvent* event) {
    if (!TakesDrop(*event)) {
        event->ignore();
        return;
    }
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit FilesDropped(paths);
}

void ProjectListView::commitData(QWidget* editor) {
    // The window judges the new text; the row shows it only when the list is
    // drawn again after a rename.
    if (const auto* line = qobject_cast<QLineEdit*>(editor)) {
        committedText_ = line->text();
        committed_ = true;
    }
}

void ProjectListView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTreeView::closeEditor(editor, hint);
    if (!committed_)
        return;
    committed_ = false;
    // Leaving the editor with the text as it was renames nothing.
    if (committedText_ != editedText_)
        emit EditEnded(editedTag_, committedText_);
}

}  // namespace zv
