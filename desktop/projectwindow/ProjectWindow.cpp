#include "desktop/projectwindow/ProjectWindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <optional>

#include "core/platform/PlatformError.h"
#include "core/platform/UiServices.h"
#include "core/project/CloseRequest.h"
#include "core/project/Grouping.h"
#include "core/project/ItemEditing.h"
#include "core/project/LoadProject.h"
#include "core/project/MediumChooser.h"
#include "core/project/ProjectStatistics.h"
#include "core/project/SaveProject.h"
#include "core/project/StartRun.h"
#include "core/project/UnplacedNotice.h"
#include "core/settings/FileSystem.h"
#include "core/settings/ShowError.h"
#include "core/settings/TextNumber.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"
#include "desktop/platform/QtText.h"
#include "desktop/platform/WaitCursor.h"
#include "desktop/projectwindow/ListViewItem.h"
#include "desktop/projectwindow/MediaOverview.h"
#include "desktop/projectwindow/ProjectListView.h"

namespace zv {

namespace {

constexpr int kNameColumn = 60110;  // "項目名"
constexpr int kSizeColumn = 60111;  // "ｻｲｽﾞ"
constexpr int kLabelCaptions = 1100;

// objLabel(1) to objLabel(10) caption the values in objLabel(11) to objLabel(20).
constexpr int kInfoRows = 10;
constexpr int kFirstValueLabel = 11;

// Room round the controls above and below the result list.
constexpr int kEdge = 6;

// The text colour of a list while it shows the members of a group.
const QColor kOpenedGroupText(0, 0, 192);

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// The captions of the results and information tabs follow the list tab's.
QString TabCaption(ProjectTab tab) {
    return Text(ResString(text_id::ListTabCaption + static_cast<int>(tab)));
}

// A list's place in objListView.
int Slot(ProjectList list) {
    return static_cast<int>(list);
}

// The list shown on a tab, if the tab shows one.
std::optional<ProjectList> ListOnTab(ProjectTab tab) {
    switch (tab) {
        case ProjectTab::List:
            return ProjectList::Files;
        case ProjectTab::Result:
            return ProjectList::Results;
        case ProjectTab::Info:
            break;
    }
    return std::nullopt;
}

void FillListView(QTreeWidget& view, const ListContent& content) {
    view.clear();
    QPalette palette = view.palette();
    palette.setColor(QPalette::Text, content.groupOpened ? kOpenedGroupText : QColor(Qt::black));
    view.setPalette(palette);

    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(content.rows.size()));
    for (std::size_t i = 0; i < content.rows.size(); ++i)
        rows.append(new ListViewItem(content.rows[i], KindOfRow(content, i)));
    view.addTopLevelItems(rows);
}

}  // namespace

ProjectWindow::ProjectWindow(QWidget* parent) : QWidget(parent) {
    for (int k = 1; k < static_cast<int>(objLabel.size()); ++k) {
        objLabel[k] = new QLabel(Text(ResString(kLabelCaptions + k)));
        objLabel[k]->setObjectName(ControlName("objLabel", k));
    }

    // The columns share the window's width as it is now: four fifths for the
    // name, one fifth for the size.
    const int listWidth = width();
    objSTab = new QTabWidget(this);
    objSTab->setObjectName(QStringLiteral("objSTab"));
    // Without a frame round the pages the lists get the window's full width,
    // which their columns are made for.
    objSTab->setDocumentMode(true);
    objSTab->addTab(BuildListTab(listWidth), TabCaption(ProjectTab::List));
    objSTab->addTab(BuildResultTab(listWidth), TabCaption(ProjectTab::Result));
    objSTab->addTab(BuildInfoTab(), TabCaption(ProjectTab::Info));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(objSTab);

    ShowCaption();
    // Whatever the user did, the caption follows the modified flag.
    connect(this, &ProjectWindow::StateChanged, this, &ProjectWindow::ShowCaption);
    connect(objSTab, &QTabWidget::currentChanged, this, &ProjectWindow::OnTabChanged);
    connect(objCombo[0], &QComboBox::activated, this, &ProjectWindow::OnMediumChosen);
}

ProjectListView* ProjectWindow::NewListView(ProjectList list, int width) {
    auto* view = new ProjectListView(list);
    view->setObjectName(ControlName("objListView", Slot(list)));
    view->setFrameShape(QFrame::NoFrame);
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setColumnCount(2);

    QTreeWidgetItem* header = view->headerItem();
    header->setText(0, Text(ResString(kNameColumn)));
    header->setText(1, Text(ResString(kSizeColumn)));
    header->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    // A click on another column starts with the smallest first; a click on
    // the sorted column turns the order round.
    for (int column = 0; column < 2; ++column)
        header->setData(column, Qt::InitialSortOrderRole, Qt::AscendingOrder);
    view->setColumnWidth(1, width / 5);
    // The name column takes up whatever the window gains (maximised, names
    // want the room); the size column keeps its width.
    view->header()->setStretchLastSection(false);
    view->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    view->sortByColumn(0, Qt::AscendingOrder);
    view->setSortingEnabled(true);

    connect(view, &QTreeWidget::itemSelectionChanged, this, &ProjectWindow::StateChanged);
    connect(view, &QTreeWidget::itemClicked, this, &ProjectWindow::StateChanged);
    connect(view, &QTreeWidget::itemDoubleClicked, this,
            [this, list](QTreeWidgetItem* row) { OnRowDoubleClicked(list, row); });
    connect(view, &ProjectListView::DragFinished, this,
            [this, list](Qt::DropAction action) { OnDragFinished(list, action); });
    connect(
        view, &ProjectListView::EditEnded, this,
        [this, list](const QString& tag, const QString& text) { OnEditEnded(list, tag, text); });
    // The drop is taken first and the files are added afterwards, so the drag
    // source is not kept waiting while the group question is open.
    connect(view, &ProjectListView::FilesDropped, this, &ProjectWindow::OnFilesDropped,
            Qt::QueuedConnection);
    connect(view, &ProjectListView::RightButtonReleased, this,
            list == ProjectList::Files ? &ProjectWindow::ListMenuWanted
                                       : &ProjectWindow::ResultMenuWanted);
    view->SetDragSource([this, list] {
        std::vector<std::string> paths;
        for (const FileRef& file : CollectSelectedFiles(list, true))
            paths.push_back(file.Path());
        return paths;
    });
    objListView[Slot(list)] = view;
    return view;
}

QLabel* ProjectWindow::NewGroupLabel(ProjectList list) {
    auto* label = new QLabel;
    label->setObjectName(ControlName("objGroupLabel", Slot(list)));
    label->setContentsMargins(kEdge, kEdge / 2, kEdge, kEdge / 2);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kOpenedGroupText);
    label->setPalette(palette);
    label->setVisible(false);
    objGroupLabel[Slot(list)] = label;
    return label;
}

QWidget* ProjectWindow::BuildListTab(int listWidth) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(NewGroupLabel(ProjectList::Files));
    layout->addWidget(NewListView(ProjectList::Files, listWidth));
    return page;
}

QWidget* ProjectWindow::BuildResultTab(int listWidth) {
    auto* page = new QWidget;
    objCombo[0] = new QComboBox;
    objCombo[0]->setObjectName(ControlName("objCombo", 0));
    // Wide enough for the longest entry, " 未処理分" included.
    objCombo[0]->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (int i = 1; i <= 2; ++i) {
        objText[i] = new QLineEdit;
        objText[i]->setObjectName(ControlName("objText", i));
        objText[i]->setReadOnly(true);
        objText[i]->setAlignment(Qt::AlignRight);
    }

    auto* totals = new QHBoxLayout;
    totals->addWidget(objLabel[21]);
    totals->addWidget(objText[1]);
    totals->addWidget(objLabel[22]);
    totals->addWidget(objText[2]);
    totals->addWidget(objLabel[23]);
    totals->addStretch();

    auto* chooserRow = new QHBoxLayout;
    chooserRow->setContentsMargins(kEdge, kEdge, kEdge, 0);
    chooserRow->addWidget(objCombo[0]);
    chooserRow->addStretch();
    totals->setContentsMargins(kEdge, 0, kEdge, kEdge);

    // Every medium at once above; the files of the one chosen below.
    auto* files = new QWidget;
    auto* layout = new QVBoxLayout(files);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(chooserRow);
    layout->addWidget(NewGroupLabel(ProjectList::Results));
    layout->addWidget(NewListView(ProjectList::Results, listWidth));
    layout->addLayout(totals);

    overview_ = new MediaOverview;
    connect(overview_, &MediaOverview::MediumChosen, this, &ProjectWindow::ShowMediumFiles);
    auto* split = new QSplitter(Qt::Vertical);
    split->setChildrenCollapsible(false);
    split->addWidget(overview_);
    split->addWidget(files);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 2);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(split);
    return page;
}

QWidget* ProjectWindow::BuildInfoTab() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    for (int row = 0; row < kInfoRows; ++row) {
        grid->addWidget(objLabel[1 + row], row, 0);
        grid->addWidget(objLabel[kFirstValueLabel + row], row, 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(kInfoRows, 1);
    return page;
}

void ProjectWindow::ShowCaption() {
    // A mark after the caption tells unsaved changes, as editors do.
    setWindowTitle(Text(document_.Caption()) +
                   (document_.Modified() ? QStringLiteral("*") : QString()));
}

bool ProjectWindow::SaveProject(int16_t mode, bool keepCaption) {
    const bool saved = zv::SaveProject(document_, mode, keepCaption);
    ShowCaption();
    return saved;
}

bool ProjectWindow::LoadProject(const std::string& path) {
    WaitCursor wait(this);
    // A load that fails part-way empties the document but leaves it the file
    // path of the project that was here, which the next save would then
    // replace: that project stays as it was instead.
    ProjectDocument before = document_;
    const LoadOutcome outcome = zv::LoadProject(document_, path);
    if (outcome != LoadOutcome::Loaded)
        document_ = std::move(before);
    else
        document_.ForgetEdits();
    RenderList(ProjectList::Files, document_.GetOpenGroup(), 0);
    ShowCaption();
    return outcome == LoadOutcome::Loaded;
}

bool ProjectWindow::StartRun(RunHost& host) {
    runInProgress_ = true;
    const struct Ended {
        bool& flag;
        ~Ended() { flag = false; }
    } ended{runInProgress_};
    const bool hadResults = document_.HasResults();
    const bool ran = zv::StartRun(document_, host);
    // A plan made or taken away is no edit to step back over.
    if (ran || hadResults)
        document_.ForgetEdits();
    // A run that did not end normally has taken the plan it started from.
    if (!ran)
        ShowResultsAgain();
    ShowCaption();
    return ran;
}

void ProjectWindow::SetRunSettings(const RunSettings& settings) {
    document_.SetRunSettings(settings);
    ShowCaption();
}

void ProjectWindow::ClearResults() {
    document_.ClearResults();
    ShowResultsAgain();
    ShowCaption();
}

void ProjectWindow::ShowResultsAgain() {
    // The result and information tabs are filled when turned to; the one
    // showing must not go on showing media that are gone.
    if (CurrentTab() == ProjectTab::Result)
        FillMediumChooser();
    else if (CurrentTab() == ProjectTab::Info)
        ShowStatistics();
}

void ProjectWindow::SetSizeUnit(SizeUnit unit) {
    document_.SetSizeUnit(unit);
    RedrawLists();
}

void ProjectWindow::SetPathMode(PathMode mode) {
    document_.SetPathMode(mode);
    RedrawLists();
}

void ProjectWindow::RedrawLists() {
    const std::string group = document_.GetOpenGroup();
    RenderList(ProjectList::Files, group, 0);
    RenderList(ProjectList::Results, group, ChosenMedium());
    // The result list may not hold the group the file list has open; that must
    // not close the group the file list goes on showing, or later additions
    // would land outside the group the user sees.
    if (document_.GetOpenGroup() != group)
        document_.SetOpenGroup(group);
}

bool ProjectWindow::AddFiles(std::vector<FileRef> files, const std::string& groupName) {
    const bool added = document_.AddFiles(std::move(files), groupName);
    ShowCaption();
    return added;
}

void ProjectWindow::RenderList(ProjectList list, const std::string& group, int16_t medium) {
    WaitCursor wait(this);
    QTreeWidget* view = objListView[Slot(list)];
    const bool hadFocus = view->hasFocus();
    view->setVisible(false);
    view->setSortingEnabled(false);
    try {
        const ListContent content = zv::RenderList(document_, Slot(list), group, medium);
        FillListView(*view, content);
        // The ".." row alone does not say which group the list shows.
        QLabel* groupLabel = objGroupLabel[Slot(list)];
        groupLabel->setText(Text(ResString(text_id::GroupLabel) + document_.GetOpenGroup()));
        groupLabel->setVisible(content.groupOpened);
        if (list == ProjectList::Results) {
            objText[1]->setText(Text(FormatGrouped(content.itemCount)));
            objText[2]->setText(Text(FormatGrouped(content.totalSize)));
            if (CurrentTab() == ProjectTab::Info)
                ShowStatistics();
        }
    } catch (const PlatformError& error) {
        ShowError(error);
    }
    if (CurrentTab() == ProjectTab::Result &&
        objListView[Slot(ProjectList::Results)]->topLevelItemCount() == 0) {
        objText[1]->setText(QStringLiteral("0"));
        objText[2]->setText(QStringLiteral("0"));
    }
    view->setSortingEnabled(true);
    view->setVisible(true);
    if (hadFocus)
        view->setFocus();
    // The dialogs change the document and have the list drawn again.
    ShowCaption();
}

SelectionKind ProjectWindow::GetSelectionKind() const {
    const std::optional<ProjectList> list = ListOnTab(CurrentTab());
    if (!list)
        return {};
    SelectionKind selection;
    bool files = false;
    bool groups = false;
    for (const QTreeWidgetItem* item : objListView[Slot(*list)]->selectedItems()) {
        ++selection.count;
        const RowKind kind = static_cast<const ListViewItem*>(item)->Kind();
        files = files || kind == RowKind::File;
        groups = groups || kind == RowKind::Group;
    }
    if (files && groups)
        selection.rows = SelectedRows::FilesAndGroups;
    else if (files)
        selection.rows = SelectedRows::FilesOnly;
    else if (groups)
        selection.rows = SelectedRows::GroupsOnly;
    return selection;
}

int16_t ProjectWindow::ChosenMedium() const {
    const QComboBox* chooser = objCombo[0];
    return MediumOfEntry(chooser->currentIndex(), chooser->currentText().toStdString());
}

void ProjectWindow::FillMediumChooser() {
    QComboBox* chooser = objCombo[0];
    chooser->clear();
    const std::vector<std::string> entries = MediumChooserEntries(document_);
    for (const std::string& entry : entries)
        chooser->addItem(Text(entry));
    chooser->setCurrentIndex(0);
    ShowOverview(entries);
    // With no medium the only entry is " 未処理分": the list shows the items
    // not placed, never what an earlier project or run left in it.
    RenderList(ProjectList::Results, "", chooser->count() >= 2 ? 1 : 0);
    overview_->MarkMedium(ChosenMedium());
}

void ProjectWindow::ShowOverview(const std::vector<std::string>& labels) {
    const RunSettings settings = document_.GetRunSettings();
    const std::vector<ProjectItem> items = document_.ToProjectItems();
    overview_->Show(SummariseMedia(items, settings, CapacityOf(settings)), items, labels);
}

void ProjectWindow::OnMediumChosen(int index) {
    const int16_t medium = MediumOfEntry(index, objCombo[0]->itemText(index).toStdString());
    RenderList(ProjectList::Results, "", medium);
    overview_->MarkMedium(medium);
}

void ProjectWindow::ShowMediumFiles(int16_t medium) {
    QComboBox* chooser = objCombo[0];
    chooser->setCurrentIndex(medium > 0 ? medium - 1 : chooser->count() - 1);
    RenderList(ProjectList::Results, "", medium);
    emit StateChanged();
}

void ProjectWindow::ShowStatistics() {
    const std::array<std::string, kInfoRows> texts = zv::ShowStatistics(document_);
    for (int i = 0; i < kInfoRows; ++i)
        objLabel[kFirstValueLabel + i]->setText(Text(texts[i]));
}

ProjectTab ProjectWindow::CurrentTab() const {
    return static_cast<ProjectTab>(objSTab->currentIndex());
}

void ProjectWindow::SelectTab(ProjectTab tab) {
    objSTab->setCurrentIndex(static_cast<int>(tab));
}

bool ProjectWindow::IsTabVisible(ProjectTab tab) const {
    return objSTab->isTabVisible(static_cast<int>(tab));
}

void ProjectWindow::SetTabVisible(ProjectTab tab, bool visible) {
    objSTab->setTabVisible(static_cast<int>(tab), visible);
}

void ProjectWindow::OnTabChanged(int index) {
    {
        WaitCursor wait(this);
        layout()->activate();
        Ui().YieldNow();
        switch (static_cast<ProjectTab>(index)) {
            case ProjectTab::List:
                RenderList(ProjectList::Files, document_.GetOpenGroup(), 0);
                break;
            case ProjectTab::Result:
                FillMediumChooser();
                break;
            case ProjectTab::Info:
                ShowStatistics();
                break;
        }
    }
    emit StateChanged();
}

void ProjectWindow::closeEvent(QCloseEvent* event) {
    // Before the running flag is set a run already works on the project.
    if (runInProgress_) {
        ShowMessage(ResString(text_id::CannotCloseWhileRunning));
        event->ignore();
    } else if (CloseRequest(document_)) {
        event->accept();
    } else {
        event->ignore();
    }
    emit StateChanged();
}

QTreeWidget* ProjectWindow::ListView(ProjectList list) const {
    return objListView[Slot(list)];
}

void ProjectWindow::RunEditCommand(EditCommand command) {
    const std::vector<std::string> tags = SelectedTags(ProjectList::Files);
    switch (command) {
        case EditCommand::Delete:
            Redraw(ProjectList::Files, DeleteCommand(document_, tags));
            break;
        case EditCommand::Cut:
            Redraw(ProjectList::Files, CutCommand(document_, tags));
            break;
        case EditCommand::Paste:
            Redraw(ProjectList::Files, PasteCommand(document_));
            break;
        case EditCommand::MakeGroup:
            Redraw(ProjectList::Files, MakeGroupCommand(document_, tags));
            break;
        case EditCommand::ReleaseGroup:
            Redraw(ProjectList::Files, ReleaseGroupCommand(document_, tags));
            break;
        case EditCommand::Rename:
            StartRename();
            break;
    }
    document_.RecordEdit();
    emit StateChanged();
}

void ProjectWindow::StepThroughEdits(bool back) {
    if (back ? document_.Undo() : document_.Redo()) {
        RenderList(ProjectList::Files, document_.GetOpenGroup(), 0);
        ShowResultsAgain();
    }
    emit StateChanged();
}

void ProjectWindow::Redraw(ProjectList list, ListRedraw how) {
    switch (how) {
        case ListRedraw::OpenedGroup:
            RenderList(list, document_.GetOpenGroup(),
                       list == ProjectList::Files ? 0 : ChosenMedium());
            return;
        case ListRedraw::TopLevel:
            RenderList(list, "", 0);
            return;
        case ListRedraw::None:
            return;
    }
}

void ProjectWindow::StartRename() {
    // An editor in a list that does not show would take the keys unseen.
    if (CurrentTab() != ProjectTab::List)
        return;
    ProjectListView* view = objListView[Slot(ProjectList::Files)];
    const QList<QTreeWidgetItem*> selected = view->selectedItems();
    if (selected.size() == 1)
        view->StartEditing(static_cast<ListViewItem*>(selected.front()));
}

std::vector<std::string> ProjectWindow::SelectedTags(ProjectList list) const {
    std::vector<std::string> tags;
    const QTreeWidget* view = objListView[Slot(list)];
    for (int row = 0; row < view->topLevelItemCount(); ++row) {
        const auto* item = static_cast<const ListViewItem*>(view->topLevelItem(row));
        if (item->isSelected() && item->Kind() != RowKind::Up)
            tags.push_back(item->Tag());
    }
    return tags;
}

std::vector<FileRef> ProjectWindow::CollectSelectedFiles(ProjectList list,
                                                         bool includeGroups) const {
    std::vector<FileRef> files;
    try {
        for (const std::string& tag : SelectedTags(list)) {
            if (FileExists(tag)) {
                files.push_back(FileRef::Get(tag));
                continue;
            }
            if (!includeGroups)
                continue;
            // Only a row that names a group gives its members; a member whose
            // file has gone gives nothing.
            const std::optional<ItemPosition> found = FindItem(document_, tag);
            const ItemRecord* item = found ? &document_.Items()[found->item] : nullptr;
            if (item != nullptr && found->member < 0 && item->IsGroup()) {
                for (const FileRef& member : item->Files) {
                    if (!member.IsEmpty())
                        files.push_back(member);
                }
            }
        }
    } catch (const PlatformError&) {
        files.clear();
    }
    return files;
}

void ProjectWindow::OnRowDoubleClicked(ProjectList list, QTreeWidgetItem* row) {
    try {
        if (!document_.IsEmpty()) {
            const bool up = static_cast<const ListViewItem*>(row)->Kind() == RowKind::Up;
            const std::string text = row->text(0).toStdString();
            if (up) {
                document_.SetOpenGroup("");
                RenderList(list, "", ChosenMedium());
            } else {
                // Opening is the desktop's business; when it fails the list
                // still goes on.
                const std::vector<FileRef> files = CollectSelectedFiles(list, false);
                if (!files.empty())
                    OpenOrReport(files.front().Path());
                RenderList(list, text, ChosenMedium());
            }
        }
    } catch (const PlatformError& error) {
        ShowError(error);
    }
    emit StateChanged();
}

void ProjectWindow::OnFilesDropped(const QStringList& paths) {
    // The run reads its results back into the items it started with.
    if (runInProgress_) {
        ShowMessage(ResString(text_id::NoDropsWhileRunning));
        return;
    }
    try {
        bool metFolder = false;
        std::vector<FileRef> files;
        for (const QString& path : paths) {
            const std::string name = path.toStdString();
            if (FolderExists(name))
                metFolder = true;
            else if (FileExists(name))
                files.push_back(FileRef::Get(name));
        }
        if (metFolder)
            ShowMessage(ResString(text_id::NoFolderDrops));
        std::string group;
        if (files.size() >= 2 && askGroupName_)
            group = askGroupName_(document_.GetItems());
        // A name the user confirmed as that of an existing group brings the
        // files into that group rather than making a second one.
        if (!group.empty() && FindGroup(group, document_.Items()) >= 0)
            AddToGroup(document_, group, files);
        else
            document_.AddFiles(files, group);
        document_.RecordEdit();
        RenderList(ProjectList::Files, document_.GetOpenGroup(), 0);
    } catch (const PlatformError& error) {
        ShowError(error);
    }
    emit StateChanged();
}

void ProjectWindow::OnDragFinished(ProjectList list, Qt::DropAction action) {
    try {
        // Files dragged out of the result list may have been moved away.
        if (list == ProjectList::Results && action != Qt::IgnoreAction) {
            document_.SetModified(true);
            if (!KeepExistingMembers(document_))
                ShowMessage(ResString(text_id::FileListBroken));
        }
        if (const std::optional<ProjectList> shown = ListOnTab(CurrentTab()))
            RenderList(*shown, document_.GetOpenGroup(), ChosenMedium());
    } catch (const PlatformError& error) {
        ShowError(error);
    }
    emit StateChanged();
}

void ProjectWindow::OnEditEnded(ProjectList list, const QString& tag, const QString& text) {
    try {
        const auto selected = static_cast<int>(objListView[Slot(list)]->selectedItems().size());
        Redraw(list, EndRename(document_, tag.toStdString(), text.toStdString(), selected));
        document_.RecordEdit();
    } catch (const PlatformError& error) {
        ShowError(error);
    }
    emit StateChanged();
}

}  // namespace zv
