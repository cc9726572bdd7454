#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/project/EditCommands.h"
#include "core/project/ProjectDocument.h"
#include "core/project/ProjectTab.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace zv {

class MediaOverview;
class ProjectListView;

// The kind of what is selected in the list of the current tab.
struct SelectionKind {
    SelectedRows rows = SelectedRows::Nothing;
    int count = 0;
};

// A project window: one project's lists on three tabs ("ﾘｽﾄ", "結果",
// "情報"). The data and the logic live in ProjectDocument and the document
// operations; the window shows them and passes the user's actions on.
class ProjectWindow : public QWidget {
    Q_OBJECT

  public:
    explicit ProjectWindow(QWidget* parent = nullptr);

    ProjectDocument& Document() { return document_; }
    const ProjectDocument& Document() const { return document_; }

    bool SaveProject(int16_t mode, bool keepCaption);
    bool LoadProject(const std::string& path);
    // From the confirmation of its settings to the end of its run; the window
    // neither closes nor takes another project or dropped files meanwhile.
    bool RunInProgress() const { return runInProgress_; }
    void SetRunInProgress(bool running) { runInProgress_ = running; }
    // A run ended: with a plan (`planned`) the result tab shows it, else every
    // view shows the project as it is.
    void ShowRunEnd(bool planned);

    RunSettings GetRunSettings() const { return document_.GetRunSettings(); }
    void SetRunSettings(const RunSettings& settings);
    const std::string& GetOpenGroup() const { return document_.GetOpenGroup(); }
    void ClearCutMarks() { document_.ClearCutMarks(); }
    bool HasCutMarks() const { return document_.HasCutMarks(); }
    bool HasResults() const { return document_.HasResults(); }
    void ClearResults();
    SizeUnit GetSizeUnit() const { return document_.GetSizeUnit(); }
    PathMode GetPathMode() const { return document_.GetPathMode(); }
    // Store the setting and draw both lists again.
    void SetSizeUnit(SizeUnit unit);
    void SetPathMode(PathMode mode);
    std::vector<ItemRecord> GetItems() const { return document_.GetItems(); }
    bool AddFiles(std::vector<FileRef> files, const std::string& groupName);

    // Draws a list (see zv::RenderList) into its list view.
    void RenderList(ProjectList list, const std::string& group, int16_t medium);
    SelectionKind GetSelectionKind() const;
    // The medium the result list shows: the chosen entry's position plus one,
    // or 0 for " 未処理分".
    int16_t ChosenMedium() const;
    void FillMediumChooser();
    void ShowStatistics();

    ProjectTab CurrentTab() const;
    void SelectTab(ProjectTab tab);
    bool IsTabVisible(ProjectTab tab) const;
    void SetTabVisible(ProjectTab tab, bool visible);

    // The file list or the result list.
    ProjectListView* ListView(ProjectList list) const;

    // Runs one of the file list's editing commands (Delete, Cut, Paste, Make
    // group, Release group, Rename) on the selected rows of the file list.
    void RunEditCommand(EditCommand command);
    // Undoes the list's last edit (back) or does it again, and draws the
    // lists as they are then.
    void StepThroughEdits(bool back);
    // Starts the editing of the selected row's text in the file list when
    // that list shows and at most one row is selected.
    void StartRename();
    // The tags of the selected rows of a list, top to bottom, the ".." row
    // left out.
    std::vector<std::string> SelectedTags(ProjectList list) const;
    // The files behind the selected rows of a list, top to bottom; with
    // includeGroups a group row gives all its members, else nothing.
    std::vector<FileRef> CollectSelectedFiles(ProjectList list, bool includeGroups) const;

    // Asks for the group of several files dropped at once, given the window's
    // items: the name typed, or empty to keep them single files.
    using GroupNameAsker = std::function<std::string(const std::vector<ItemRecord>& items)>;
    void SetGroupNameAsker(GroupNameAsker asker) { askGroupName_ = std::move(asker); }

  signals:
    // Selection, contents or tab changed: the main window refreshes its
    // commands.
    void StateChanged();
    // The right mouse button was released over the file list: the main window
    // pops up its list menu there.
    void ListMenuWanted(const QPoint& globalPosition);
    // The same over the result list, for the menu of the results.
    void ResultMenuWanted(const QPoint& globalPosition);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* BuildListTab(int listWidth);
    QWidget* BuildResultTab(int listWidth);
    QWidget* BuildInfoTab();
    ProjectListView* NewListView(ProjectList list, int width);
    QLabel* NewGroupLabel(ProjectList list);
    void ShowCaption();
    // The tab showing the results or their figures draws them again.
    void ShowResultsAgain();
    // Both lists again after a display setting changed.
    void RedrawLists();
    void OnTabChanged(int index);
    void OnMediumChosen(int index);
    // The overview of every medium; `labels` are the chooser's entries.
    void ShowOverview(const std::vector<std::string>& labels);
    // A medium chosen in the overview: its files in the list below.
    void ShowMediumFiles(int16_t medium);
    // Draws list `list` again as an editing command or a rename asks.
    void Redraw(ProjectList list, ListRedraw how);
    void OnRowDoubleClicked(ProjectList list, int row);
    void OnFilesDropped(const QStringList& paths);
    void OnDragFinished(ProjectList list, Qt::DropAction action);
    void OnEditEnded(ProjectList list, const QString& tag, const QString& text);

    ProjectDocument document_;
    QTabWidget* tabs_ = nullptr;
    ProjectListView* itemList_ = nullptr;
    ProjectListView* resultList_ = nullptr;
    // By ProjectList: the name of the group a list has open, above the list.
    std::array<QLabel*, 2> openGroupLabels_{};
    QComboBox* mediumChooser_ = nullptr;
    // The chosen medium's item count and total size below the result list.
    QLineEdit* itemCountBox_ = nullptr;
    QLineEdit* totalSizeBox_ = nullptr;
    // The project's figures on the information tab, line by line.
    std::array<QLabel*, 10> figureCaptions_{};
    std::array<QLabel*, 10> figureValues_{};
    MediaOverview* overview_ = nullptr;
    GroupNameAsker askGroupName_;
    bool runInProgress_ = false;
};

}  // namespace zv
