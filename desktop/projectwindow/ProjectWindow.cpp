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
#include "core/project/UnplacedNotice.h"
#include "core/settings/FileSystem.h"
#include "core/settings/ShowError.h"
#include "core/settings/TextNumber.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"
#include "desktop/platform/QtText.h"
#include "desktop/platform/WaitCursor.h"
#include "desktop/projectwindow/MediaOverview.h"
#include "desktop/projectwindow/ProjectListModel.h"
#include "desktop/projectwindow/ProjectListView.h"

namespace zv {

namespace {

// The captions of the project's figures and the units after their values,
// line by line, and the captions round the totals of a medium.
constexpr int kFigureCaptions = 1101;
constexpr int kFigureUnits = 1111;
constexpr int kItemCountCaption = 1121;
constexpr int kTotalSizeCaption = 1122;
constexpr int kTotalSizeUnit = 1123;
constexpr int kFigureLines = 10;
// The labels' object names number them as the screens always have: the
// captions from 1, the values from 11, the totals' captions from 21.
constexpr int kFirstValueLabel = 11;

// Room round the controls above and below the result list.
constexpr int kEdge = 6;

// The colour of the name of the group a list shows.
const QColor kOpenedGroupText(0, 0, 192);

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// The captions of the results and information tabs follow the list tab's.
QString TabCaption(ProjectTab tab) {
    return Text(ResString(text_id::ListTabCaption + static_cast<int>(tab)));
}

int Slot(ProjectList list) {
    return static_cast<int>(list);
}

QLabel* NewLabel(int text, int number) {
    auto* label = new QLabel(Text(ResString(text)));
    label->setObjectName(ControlName("objLabel", number));
    return label;
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

}  // namespace

ProjectWindow::ProjectWindow(QWidget* parent) : QWidget(parent) {
    // The columns share the window's width as it is now: four fifths for the
    // name, one fifth for the size.
    const int listWidth = width();
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabs_"));
    // Without a frame round the pages the lists get the window's full width,
    // which their columns are made for.
    tabs_->setDocumentMode(true);
    tabs_->addTab(BuildListTab(listWidth), TabCaption(ProjectTab::List));
    tabs_->addTab(BuildResultTab(listWidth), TabCaption(ProjectTab::Result));
    tabs_->addTab(BuildInfoTab(), TabCaption(ProjectTab::Info));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs_);

    ShowCaption();
    // Whatever the user did, the caption follows the modified flag.
    connect(this, &ProjectWindow::StateChanged, this, &ProjectWindow::ShowCaption);
    connect(tabs_, &QTabWidget::currentChanged, this, &ProjectWindow::OnTabChanged);
    connect(mediumChooser_, &QComboBox::activated, this, &ProjectWindow::OnMediumChosen);
}

ProjectListView* ProjectWindow::NewListView(ProjectList list, int width) {
    auto* view = new ProjectListView(list);
    view->setObjectName(ControlName("objListView", Slot(list)));
    view->setFrameShape(QFrame::NoFrame);
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setColumnWidth(ProjectListModel::SizeColumn, width / 5);
    // The name column takes up whatever the window gains (maximised, names
    // want the room); the size column keeps its width.
    view->header()->setStretchLastSection(false);
    view->header()->setSectionResizeMode(ProjectListModel::NameColumn, QHeaderView::Stretch);
    view->sortByColumn(ProjectListModel::NameColumn, Qt::AscendingOrder);
    view->setSortingEnabled(true);

    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ProjectWindow::StateChanged);
    connect(view, &QAbstractItemView::clicked, this, &ProjectWindow::StateChanged);
    connect(view, &QAbstractItemView::doubleClicked, this,
            [this, list](const QModelIndex& index) { OnRowDoubleClicked(list, index.row()); });
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
        // Files moved away from the result list leave their items; while a
        // run works on the items, whose plan comes back by position, none
        // may leave.
        if (runInProgress_ && list == ProjectList::Results)
            return paths;
        for (const FileRef& file : CollectSelectedFiles(list, true))
            paths.push_back(file.Path());
        return paths;
    });
    (list == ProjectList::Files ? itemList_ : resultList_) = view;
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
    openGroupLabels_[Slot(list)] = label;
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
    mediumChooser_ = new QComboBox;
    mediumChooser_->setObjectName(ControlName("objCombo", 0));
    // Wide enough for the longest entry, " 未処理分" included.
    mediumChooser_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    const auto newTotalBox = [](int number) {
        auto* box = new QLineEdit;
        box->setObjectName(ControlName("objText", number));
        box->setReadOnly(true);
        box->setAlignment(Qt::AlignRight);
        return box;
    };
    itemCountBox_ = newTotalBox(1);
    totalSizeBox_ = newTotalBox(2);

    auto* totals = new QHBoxLayout;
    totals->addWidget(NewLabel(kItemCountCaption, 21));
    totals->addWidget(itemCountBox_);
    totals->addWidget(NewLabel(kTotalSizeCaption, 22));
    totals->addWidget(totalSizeBox_);
    totals->addWidget(NewLabel(kTotalSizeUnit, 23));
    totals->addStretch();

    auto* chooserRow = new QHBoxLayout;
    chooserRow->setContentsMargins(kEdge, kEdge, kEdge, 0);
    chooserRow->addWidget(mediumChooser_);
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
    for (int line = 0; line < kFigureLines; ++line) {
        figureCaptions_[line] = NewLabel(kFigureCaptions + line, 1 + line);
        figureValues_[line] = NewLabel(kFigureUnits + line, kFirstValueLabel + line);
        grid->addWidget(figureCaptions_[line], line, 0);
        grid->addWidget(figureValues_[line], line, 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(kFigureLines, 1);
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

void ProjectWindow::ShowRunEnd(bool planned) {
    if (planned) {
        // A plan made is no edit to step back over.
        document_.ForgetEdits();
        // Turning to the result tab fills it; a tab already showing is
        // filled again.
        if (CurrentTab() == ProjectTab::Result)
            FillMediumChooser();
        else
            SelectTab(ProjectTab::Result);
    } else {
        ShowResultsAgain();
    }
    ShowCaption();
    emit StateChanged();
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
    ProjectListView* view = ListView(list);
    try {
        const ListContent content = zv::RenderList(document_, Slot(list), group, medium);
        view->Model().Show(content);
        // The ".." row alone does not say which group the list shows.
        QLabel* groupLabel = openGroupLabels_[Slot(list)];
        groupLabel->setText(Text(ResString(text_id::GroupLabel) + document_.GetOpenGroup()));
        groupLabel->setVisible(content.groupOpened);
        if (list == ProjectList::Results) {
            itemCountBox_->setText(Text(FormatGrouped(content.itemCount)));
            totalSizeBox_->setText(Text(FormatGrouped(content.totalSize)));
            if (CurrentTab() == ProjectTab::Info)
                ShowStatistics();
        }
    } catch (const PlatformError& error) {
        ShowError(error);
    }
    if (CurrentTab() == ProjectTab::Result && resultList_->Model().rowCount() == 0) {
        itemCountBox_->setText(QStringLiteral("0"));
        totalSizeBox_->setText(QStringLiteral("0"));
    }
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
    const ProjectListView& view = *ListView(*list);
    for (const int row : view.SelectedRows()) {
        ++selection.count;
        const RowKind kind = view.Model().Kind(row);
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
    const QComboBox* chooser = mediumChooser_;
    return MediumOfEntry(chooser->currentIndex(), chooser->currentText().toStdString());
}

void ProjectWindow::FillMediumChooser() {
    QComboBox* chooser = mediumChooser_;
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
    const int16_t medium = MediumOfEntry(index, mediumChooser_->itemText(index).toStdString());
    RenderList(ProjectList::Results, "", medium);
    overview_->MarkMedium(medium);
}

void ProjectWindow::ShowMediumFiles(int16_t medium) {
    QComboBox* chooser = mediumChooser_;
    chooser->setCurrentIndex(medium > 0 ? medium - 1 : chooser->count() - 1);
    RenderList(ProjectList::Results, "", medium);
    emit StateChanged();
}

void ProjectWindow::ShowStatistics() {
    const std::array<std::string, kFigureLines> texts = zv::ShowStatistics(document_);
    for (int line = 0; line < kFigureLines; ++line)
        figureValues_[line]->setText(Text(texts[line]));
}

ProjectTab ProjectWindow::CurrentTab() const {
    return static_cast<ProjectTab>(tabs_->currentIndex());
}

void ProjectWindow::SelectTab(ProjectTab tab) {
    tabs_->setCurrentIndex(static_cast<int>(tab));
}

bool ProjectWindow::IsTabVisible(ProjectTab tab) const {
    return tabs_->isTabVisible(static_cast<int>(tab));
}

void ProjectWindow::SetTabVisible(ProjectTab tab, bool visible) {
    tabs_->setTabVisible(static_cast<int>(tab), visible);
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

ProjectListView* ProjectWindow::ListView(ProjectList list) const {
    return list == ProjectList::Files ? itemList_ : resultList_;
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
    const std::vector<int> selected = itemList_->SelectedRows();
    if (selected.size() == 1)
        itemList_->StartEditing(selected.front());
}

std::vector<std::string> ProjectWindow::SelectedTags(ProjectList list) const {
    std::vector<std::string> tags;
    const ProjectListView& view = *ListView(list);
    for (const int row : view.SelectedRows()) {
        if (view.Model().Kind(row) != RowKind::Up)
            tags.push_back(view.Model().Tag(row));
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

void ProjectWindow::OnRowDoubleClicked(ProjectList list, int row) {
    try {
        if (!document_.IsEmpty()) {
            const ProjectListModel& rows = ListView(list)->Model();
            const bool up = rows.Kind(row) == RowKind::Up;
            const std::string text = rows.Text(row).toStdString();
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
    // The run's plan goes back into the items it took.
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
        const auto selected = static_cast<int>(ListView(list)->SelectedRows().size());
        Redraw(list, EndRename(document_, tag.toStdString(), text.toStdString(), selected));
        document_.RecordEdit();
    } catch (const PlatformError& error) {
        ShowError(error);
    }
    emit StateChanged();
}

}  // namespace zv
