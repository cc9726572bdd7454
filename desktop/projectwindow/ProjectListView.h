#pragma once

#include <QTreeView>
#include <functional>
#include <string>
#include <vector>

#include "core/project/ProjectTab.h"

class QMimeData;

namespace zv {

class ProjectListModel;

// One of a project window's two lists, the file list or the result list, over
// its own ProjectListModel, with what the window needs beyond a plain list: files dragged out as a
// file list, files dropped onto the file list, the right button over a list, and the in-place
// editing of a row's text that the window itself starts and judges.
class ProjectListView : public QTreeView {
    Q_OBJECT

  public:
    explicit ProjectListView(ProjectList list, QWidget* parent = nullptr);

    ProjectList List() const { return list_; }
    ProjectListModel& Model() const { return *model_; }
    // The area of row `row` across every column shown.
    QRect RowRect(int row) const;
    // The rows selected, top to bottom.
    std::vector<int> SelectedRows() const;
    void SelectRow(int row);
    // Where the full paths of a drag out of the list come from.
    void SetDragSource(std::function<std::vector<std::string>()> source);
    // The data a drag out of the list hands over: the paths of the drag
    // source as a file list (text/uri-list).
    QMimeData* DragData() const;
    // Lets the user edit the row's text in place; EditEnded reports the result.
    void StartEditing(int row);

  signals:
    // Local paths dropped onto the file list, in their order.
    void FilesDropped(const QStringList& paths);
    // A drag out of the list ended with `action` (none when nothing took it).
    void DragFinished(Qt::DropAction action);
    // The right mouse button was released over the list.
    void RightButtonReleased(const QPoint& globalPosition);
    // The in-place editing of the row tagged `tag` ended with a changed text.
    void EditEnded(const QString& tag, const QString& text);

  protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

  private:
    // The file list takes files from elsewhere; the result list takes nothing.
    bool TakesDrop(const QDropEvent& event) const;
    bool ResultDragStarts(const QPoint& position) const;

    ProjectList list_;
    ProjectListModel* model_;
    std::function<std::vector<std::string>()> dragSource_;
    // The row being edited in place: its tag and its text before the edit;
    // the text the editor hands back waits here until the editor closes.
    QString editedTag_;
    QString editedText_;
    QString committedText_;
    bool committed_ = false;
};

}  // namespace zv
