#include "desktop/dialogs/AddFilesDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <filesystem>
#include <numeric>
#include <optional>

#include "core/platform/PlatformError.h"
#include "core/platform/UiServices.h"
#include "core/settings/FileSystem.h"
#include "core/settings/IniFile.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/SettingsKeys.h"
#include "core/settings/ShowError.h"
#include "core/settings/TextNumber.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"
#include "desktop/dialogs/AddCheckedFiles.h"
#include "desktop/dialogs/FileFilter.h"
#include "desktop/dialogs/FileListModel.h"
#include "desktop/dialogs/FolderBox.h"
#include "desktop/dialogs/FolderScan.h"
#include "desktop/dialogs/GroupNameDialog.h"
#include "desktop/dialogs/MountedDrives.h"
#include "desktop/platform/QtText.h"
#include "desktop/platform/ScreenFit.h"
#include "desktop/platform/Twips.h"
#include "desktop/platform/WaitCursor.h"

namespace zv {

namespace {

namespace fs = std::filesystem;

constexpr int kLabelCaptions = 3100;  // "ﾌｨﾙﾀ(&S)："
constexpr int kButtonCaptions = 3200;  // "閉じる(&C)" "追加(&A)" "全て選択" "全て取消" "ｷｬﾝｾﾙ"
constexpr int kFrameCaptions = 3300;  // "場所" "ﾌｧｲﾙﾘｽﾄ" - " "

constexpr int kClose = 0, kAdd = 1, kSelectAll = 2, kClearAll = 3, kCancel = 4;
constexpr int kSplitterFrame = 2, kProgressFrame = 3;

// The list's columns as they open, in pixels.
constexpr int kColumnWidths[] = {160, 120, 110, 220, 120};

QString Text(int id) {
    return ShownText(ResString(id));
}

template <class Widget>
Widget* Named(Widget* widget, const char* array, int index) {
    widget->setObjectName(ControlName(array, index));
    return widget;
}

// The full path of a folder as the dialog keeps it: absolute, without "." or
// ".." and without a separator at the end (a drive root keeps its own).
std::string NormalFolder(const std::string& path) {
    std::error_code error;
    fs::path folder = fs::absolute(path, error).lexically_normal();
    if (error)
        return {};
    if (folder.has_relative_path() && folder.filename().empty())
        folder = folder.parent_path();
    return folder.string();
}

// The folder a drag carries: exactly one file name, and that one a folder.
std::optional<std::string> DroppedFolder(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls())
        return std::nullopt;
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return std::nullopt;
    const std::string path = urls.front().toLocalFile().toStdString();
    if (!FolderExists(path))
        return std::nullopt;
    return path;
}

void Place(QWidget* widget, const TwipRect& rect) {
    widget->setGeometry(TwipsToPixelsX(rect.left), TwipsToPixelsY(rect.top),
                        TwipsToPixelsX(rect.width), TwipsToPixelsY(rect.height));
}

void SetColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

}  // namespace

AddFilesDialog::AddFilesDialog(QWidget* owner, AddTarget target, std::unique_ptr<Drives> drives)
    : QDialog(owner), target_(std::move(target)), drives_(std::move(drives)) {
    if (!drives_)
        drives_ = std::make_unique<MountedDrives>();
    setObjectName(QStringLiteral("AddFilesDialog"));
    setModal(true);
    setSizeGripEnabled(false);
    BuildControls();
    SetCaptions();
    setMinimumSize(TwipsToPixelsX(AddDialogLayout::kDesignWidth) * 3 / 4,
                   TwipsToPixelsY(AddDialogLayout::kDesignHeight) * 3 / 4);
    RestoreGeometry();
    LayOut(true);
    // The dialog sees the keys before its controls do, and the drops and the
    // splitter's mouse through the same door.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    Load();
}

AddFilesDialog::~AddFilesDialog() = default;

void AddFilesDialog::BuildControls() {
    placeBox_ = Named(new QGroupBox(this), "objFrame", 0);
    fileListBox_ = Named(new QGroupBox(this), "objFrame", 1);
    progressBox_ = Named(new QGroupBox(this), "objFrame", kProgressFrame);
    auto* splitter = Named(new QFrame(this), "objFrame", kSplitterFrame);
    splitter->setCursor(Qt::SplitHCursor);
    splitterBar_ = splitter;
    splitterLine_ = Named(new QFrame(splitter), "objLine", 0);
    splitterLine_->setAutoFillBackground(true);
    splitterLine_->setAttribute(Qt::WA_TransparentForMouseEvents);
    SetColour(splitterLine_, QPalette::Window, palette().color(QPalette::Button));

    driveBox_ = Named(new QComboBox(placeBox_), "objDrive", 0);
    driveBox_->setAcceptDrops(true);
    folderTree_ = Named(new FolderBox(placeBox_), "objDir", 0);
    folderTree_->viewport()->setAcceptDrops(true);
    subfoldersCheck_ = Named(new QCheckBox(placeBox_), "objCheck", 0);

    model_ = new FileListModel(this);
    auto* list = Named(new QTreeView(fileListBox_), "objListView", 0);
    list->setModel(model_);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSortingEnabled(false);
    QHeaderView* header = list->header();
    header->setSectionsMovable(false);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(model_->SortKey(), model_->Order());
    for (int column = 0; column < FileListModel::kColumnCount; ++column)
        header->resizeSection(column, kColumnWidths[column]);
    // The last column takes whatever room the dialog has beyond the others.
    header->setStretchLastSection(true);
    fileList_ = list;

    filterLabel_ = Named(new QLabel(fileListBox_), "objLabel", 0);
    filterBox_ = Named(new QLineEdit(fileListBox_), "objText", 0);
    filterLabel_->setBuddy(filterBox_);
    rebuildingNote_ = Named(new QLineEdit(this), "objText", 1);
    rebuildingNote_->setReadOnly(true);
    rebuildingNote_->setAlignment(Qt::AlignCenter);
    rebuildingNote_->setFocusPolicy(Qt::NoFocus);
    rebuildingNote_->hide();

    selectAllButton_ = Named(new QPushButton(fileListBox_), "objButton", kSelectAll);
    clearAllButton_ = Named(new QPushButton(fileListBox_), "objButton", kClearAll);
    closeButton_ = Named(new QPushButton(this), "objButton", kClose);
    addButton_ = Named(new QPushButton(this), "objButton", kAdd);
    progressBar_ = Named(new QProgressBar(progressBox_), "objProgressBar", 0);
    progressBar_->setTextVisible(false);
    cancelButton_ = Named(new QPushButton(progressBox_), "objButton", kCancel);
    progressBox_->hide();

    statusBar_ = Named(new QStatusBar(this), "objStatusBar", 0);
    statusBar_->setSizeGripEnabled(true);

    connect(driveBox_, &QComboBox::currentIndexChanged, this, &AddFilesDialog::OnDriveChanged);
    connect(folderTree_, &FolderBox::FolderEntered, this,
            [this](const QString& path) { ChangeFolder(path.toStdString()); });
    connect(subfoldersCheck_, &QCheckBox::clicked, this, &AddFilesDialog::Scan);
    connect(header, &QHeaderView::sectionClicked, this, [this, header](int column) {
        model_->SortByHeading(header->visualIndex(column));
        header->setSortIndicator(model_->SortKey(), model_->Order());
    });
    connect(closeButton_, &QPushButton::clicked, this, [this] {
        WaitCursor wait(this);
        close();
    });
    connect(addButton_, &QPushButton::clicked, this, &AddFilesDialog::AddChecked);
    connect(selectAllButton_, &QPushButton::clicked, this, [this] { CheckAll(true); });
    connect(clearAllButton_, &QPushButton::clicked, this, [this] { CheckAll(false); });
    connect(cancelButton_, &QPushButton::clicked, this, &AddFilesDialog::CancelScan);
}

void AddFilesDialog::SetCaptions() {
    setWindowTitle(Text(text_id::AddFilesCaption));
    filterLabel_->setText(Text(kLabelCaptions));
    const std::pair<QPushButton*, int> buttons[] = {{closeButton_, kClose},
                                                    {addButton_, kAdd},
                                                    {selectAllButton_, kSelectAll},
                                                    {clearAllButton_, kClearAll},
                                                    {cancelButton_, kCancel}};
    for (const auto& [button, number] : buttons)
        button->setText(Text(kButtonCaptions + number));
    placeBox_->setTitle(Text(kFrameCaptions));
    fileListBox_->setTitle(Text(kFrameCaptions + 1));
    progressBox_->setTitle(Text(kFrameCaptions + kProgressFrame));
    subfoldersCheck_->setText(Text(text_id::SubfoldersCheck));
    rebuildingNote_->setText(Text(text_id::RebuildingList));
}

void AddFilesDialog::Load() {
    fileList_->hide();
    driveList_ = drives_->List();
    {
        const QSignalBlocker quiet(driveBox_);
        for (const Drive& drive : driveList_)
            driveBox_->addItem(QString::fromStdString(drive.text));
    }
    // The boxes start on the user's home folder.
    const std::string start = NormalFolder(QDir::homePath().toStdString());
    std::string shown = start;
    const SettingsKey& last = settings_keys::LastAddFolder;
    if (const auto remembered = IniFile(SettingsFilePath()).Read(last.section, last.name)) {
        if (FolderExists(*remembered))
            shown = NormalFolder(*remembered);
    } else {
        shown = NormalFolder(ProgramFolder());
    }
    folder_ = shown;
    ShowFolderInBoxes();
    // The list is filled when the dialog first shows, so this folder change
    // is only remembered, not scanned.
    if (folder_ != start)
        RememberFolder();
}

void AddFilesDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    // The first scan starts once the dialog is on the screen (and, shown by
    // its opener, modal), so its busy look shows while the folder is read.
    QTimer::singleShot(0, this, [this] {
        if (!scanned_)
            Scan();
        fileList_->show();
    });
}

void AddFilesDialog::FollowDrive() {
    const QSignalBlocker quiet(driveBox_);
    driveBox_->setCurrentIndex(DriveOf(driveList_, folder_));
}

void AddFilesDialog::ShowFolderInBoxes() {
    FollowDrive();
    folderTree_->Show(RootOf(folder_), folder_);
}

std::string AddFilesDialog::RootOf(const std::string& path) const {
    const int drive = DriveOf(driveList_, path);
    return drive >= 0 ? driveList_[static_cast<std::size_t>(drive)].root
                      : fs::path(path).root_path().string();
}

bool AddFilesDialog::IsDriveRoot(const std::string& path) const {
    return NormalFolder(RootOf(path)) == NormalFolder(path);
}

void AddFilesDialog::RememberFolder() const {
    const SettingsKey& last = settings_keys::LastAddFolder;
    static_cast<void>(IniFile(SettingsFilePath()).Write(last.section, last.name, folder_));
}

void AddFilesDialog::ChangeFolder(const std::string& path) {
    if (busy_)
        return;
    const std::string folder = NormalFolder(path);
    // A folder that cannot be shown is passed over; the dialog stays where it
    // was.
    if (folder.empty() || folder == folder_ || !FolderExists(folder))
        return;
    folder_ = folder;
    ShowFolderInBoxes();
    subfoldersCheck_->setChecked(false);
    Scan();
    CheckAll(true);
    RememberFolder();
}

void AddFilesDialog::OnDriveChanged(int index) {
    if (index < 0 || busy_)
        return;
    subfoldersCheck_->setChecked(false);
    const Drive drive = driveList_.at(static_cast<std::size_t>(index));
    while (!drives_->IsReady(drive.root)) {
        const std::string text = ResString(text_id::DriveNotReady) + "\r\n" +
                                 QString::fromStdString(drive.text).toUpper().toStdString();
        if (ShowMessage(text, ResString(text_id::InsertDisk), MsgButtons::RetryCancel) !=
            MsgResult::Retry) {
            FollowDrive();
            return;
        }
        Ui().YieldNow();
    }
    ChangeFolder(drive.root);
    // A root that could not be shown leaves the box on the shown folder's drive.
    FollowDrive();
}

void AddFilesDialog::Scan() {
    if (busy_)
        return;
    busy_ = true;
    scanned_ = true;
    EnableControls(false);
    cancel_ = false;
    model_->RemoveRows();
    model_->SetSorted(false);

    const bool subfolders = subfoldersCheck_->isChecked();
    double total = 0;
    bool showProgress = false;
    if (subfolders) {
        // A drive's capacity is at hand at once; adding up a whole drive's
        // files is not.
        total = IsDriveRoot(folder_) ? drives_->Capacity(RootOf(folder_)) : MeasureTree();
        if (total > 0) {
            showProgress = true;
            progressBar_->setRange(0, kProgressMaximum);
            progressBar_->setValue(0);
            progressBox_->show();
            rebuildingNote_->show();
            rebuildingNote_->raise();
            cancelButton_->show();
        }
        Ui().YieldNow();
    }
    // The dialog paints its busy look before the walk takes the time.
    for (int i = 0; i < 11; ++i)
        Ui().YieldNow();

    FolderScan scan(folder_, subfolders);
    while (scan.WalkNext()) {
        if (showProgress)
            progressBar_->setValue(ScaledProgress(scan.Bytes(), total));
        Ui().Yield();
        if (cancel_)
            break;
    }
    model_->SetFiles(scan.TakeFiles());
    if (!model_->Files().Empty()) {
        fileList_->hide();
        std::vector<std::size_t> all(model_->Files().files.size());
        std::iota(all.begin(), all.end(), std::size_t{0});
        model_->AddRows(all);
        fileList_->show();
    }

    EnableControls(true);
    cancelButton_->setText(Text(kButtonCaptions + kCancel));
    progressBox_->hide();
    rebuildingNote_->hide();
    model_->SetSorted(true);
    EndBusy();
}

double AddFilesDialog::MeasureTree() {
    FolderScan measure(folder_, true, FolderScan::Mode::Measure);
    while (measure.WalkNext()) {
        Ui().Yield();
        if (cancel_)
            break;
    }
    return measure.Bytes();
}

void AddFilesDialog::ApplyFilter() {
    if (busy_)
        return;
    busy_ = true;
    EnableControls(false);
    model_->RemoveRows();
    model_->SetSorted(false);
    rebuildingNote_->show();
    rebuildingNote_->raise();
    Ui().YieldNow();

    const GatheredFiles& files = model_->Files();
    const QString text = filterBox_->text();
    std::vector<std::size_t> kept;
    if (text.isEmpty()) {
        kept.resize(files.files.size());
        std::iota(kept.begin(), kept.end(), std::size_t{0});
    } else {
        const FileFilter filter(text);
        fileList_->hide();
        for (std::size_t i = 0; i < files.files.size(); ++i) {
            if (filter.Keeps(files.files[i].name))
                kept.push_back(i);
        }
    }
    model_->AddRows(kept);

    EnableControls(true);
    fileList_->show();
    rebuildingNote_->hide();
    model_->SetSorted(true);
    EndBusy();
}

void AddFilesDialog::EndBusy() {
    busy_ = false;
    if (closeWanted_) {
        closeWanted_ = false;
        QDialog::reject();
    }
}

void AddFilesDialog::AddChecked() {
    WaitCursor wait(this);
    Ui().YieldNow();
    if (!target_.window)
        return;
    try {
        const AddOutcome outcome = AddCheckedFiles(model_->CheckedPaths(), *target_.document,
                                                   [this](const std::vector<ItemRecord>& items) {
                                                       return GroupNameDialog::Ask(this, items);
                                                   });
        if (outcome.added)
            closeButton_->setFocus();
        if (outcome.redraw && target_.window)
            target_.redrawList(outcome.openGroup);
    } catch (const PlatformError& error) {
        ShowError(error);
    }
}

void AddFilesDialog::CheckAll(bool checked) {
    WaitCursor wait(this);
    // However many rows there are: as one group they are one item, and the
    // project's own limit is told when the files are added as single items.
    model_->SetAllChecked(checked);
}

void AddFilesDialog::CancelScan() {
    cancelButton_->setText(Text(text_id::StoppingAdd));
    cancel_ = true;
    Ui().YieldNow();
}

void AddFilesDialog::reject() {
    // Closing in the middle of a scan stops the scan first; the dialog closes
    // when it has stopped.
    if (busy_) {
        closeWanted_ = true;
        CancelScan();
        return;
    }
    QDialog::reject();
}

void AddFilesDialog::RestoreGeometry() {
    // A stored value that is missing or no whole number leaves the designed one.
    const IniFile settings(SettingsFilePath());
    const auto stored = [&settings](const SettingsKey& key, int designed) {
        const auto text = settings.Read(key.section, key.name);
        if (!text)
            return designed;
        const auto value = ParseNumber(*text);
        return value && *value > 0 && *value < 1e6 ? static_cast<int>(*value) : designed;
    };
    resize(TwipsToPixelsX(stored(settings_keys::AddDialogWidth, AddDialogLayout::kDesignWidth)),
           TwipsToPixelsY(stored(settings_keys::AddDialogHeight, AddDialogLayout::kDesignHeight)));
    splitter_ = stored(settings_keys::AddDialogSplitter, AddDialogLayout::kDesignSplitter);
    FitToScreen(*this);
}

void AddFilesDialog::StoreGeometry() const {
    const std::pair<const SettingsKey&, int> values[] = {
        {settings_keys::AddDialogWidth, PixelsToTwipsX(width())},
        {settings_keys::AddDialogHeight, PixelsToTwipsY(height())},
        {settings_keys::AddDialogSplitter, splitter_},
    };
    const IniFile settings(SettingsFilePath());
    for (const auto& [key, value] : values)
        static_cast<void>(settings.Write(key.section, key.name, std::to_string(value)));
}

void AddFilesDialog::done(int result) {
    StoreGeometry();
    model_->Release();
    QDialog::done(result);
}

void AddFilesDialog::EnableControls(bool normal) {
    if (!normal) {
        QWidget* focus = QApplication::focusWidget();
        focusBeforeBusy_ = isAncestorOf(focus) ? focus : nullptr;
    }
    const std::initializer_list<QWidget*> switched = {
        placeBox_,    fileListBox_, subfoldersCheck_, fileList_,
        closeButton_, addButton_,   selectAllButton_, clearAllButton_};
    for (QWidget* widget : switched)
        widget->setEnabled(normal);
    const QPalette& system = QApplication::palette();
    const QColor text = normal ? system.color(QPalette::Active, QPalette::Text)
                               : system.color(QPalette::Disabled, QPalette::Text);
    for (QWidget* box : {static_cast<QWidget*>(driveBox_), static_cast<QWidget*>(folderTree_)}) {
        SetColour(box, QPalette::Text, text);
        SetColour(box, QPalette::ButtonText, text);
    }
    SetColour(filterBox_, QPalette::Base, system.color(normal ? QPalette::Base : QPalette::Button));
    if (normal) {
        unsetCursor();
        // Disabling took the focus away; the control the user was in gets it
        // back (Enter in the filter box leaves the focus there).
        if (focusBeforeBusy_ && focusBeforeBusy_->isEnabled())
            focusBeforeBusy_->setFocus();
    } else {
        setCursor(Qt::WaitCursor);
    }
}

bool AddFilesDialog::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            return OnKeyPress(watched, *static_cast<QKeyEvent*>(event));
        case QEvent::KeyRelease:
            return OnKeyRelease(*static_cast<QKeyEvent*>(event));
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            if (watched == driveBox_ || watched == folderTree_->viewport())
                return OnDrag(event);
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            if (watched == splitterBar_)
                return OnSplitterMouse(event);
            break;
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

bool AddFilesDialog::OnKeyPress(QObject* watched, const QKeyEvent& key) {
    const bool control = key.modifiers() & Qt::ControlModifier;
    if (key.key() == Qt::Key_Escape || (key.key() == Qt::Key_A && control))
        return true;  // acted on when the key comes up
    if (watched == filterBox_ && (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
        !(key.modifiers() & Qt::ShiftModifier)) {
        ApplyFilter();
        filterBox_->setFocus();
        return true;
    }
    if (watched == folderTree_ && key.key() == Qt::Key_Left) {
        if (!IsDriveRoot(folder_))
            ChangeFolder(fs::path(folder_).parent_path().string());
        return true;
    }
    if (watched == folderTree_ && key.key() == Qt::Key_Right) {
        ChangeFolder(folderTree_->Highlighted());
        return true;
    }
    return false;
}

bool AddFilesDialog::OnKeyRelease(const QKeyEvent& key) {
    if (key.isAutoRepeat())
        return false;
    if (key.key() == Qt::Key_Escape) {
        // During a scan Esc only stops it, whether or not the progress shows.
        if (busy_)
            CancelScan();
        else
            closeButton_->click();
        return true;
    }
    if (key.key() == Qt::Key_A && (key.modifiers() & Qt::ControlModifier)) {
        if (model_->rowCount() > 0)
            CheckAll(!model_->AllChecked());
        return true;
    }
    return false;
}

bool AddFilesDialog::OnDrag(QEvent* event) {
    if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const std::optional<std::string> folder =
            busy_ ? std::nullopt : DroppedFolder(drop->mimeData());
        if (!folder) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        // The drag's source gets its answer before the scan of the folder
        // takes its time.
        QTimer::singleShot(0, this, [this, path = *folder] { ChangeFolder(path); });
        return true;
    }
    auto* drag = static_cast<QDragMoveEvent*>(event);
    if (!busy_ && DroppedFolder(drag->mimeData())) {
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
    } else {
        drag->ignore();
    }
    return true;
}

bool AddFilesDialog::OnSplitterMouse(QEvent* event) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    QWidget* bar = splitterBar_;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            splitterDrag_ = true;
            // The grey of an inactive caption bar while the bar is held.
            SetColour(splitterLine_, QPalette::Window, palette().color(QPalette::Dark));
            return true;
        case QEvent::MouseMove:
            if (splitterDrag_)
                bar->move(bar->x() + static_cast<int>(mouse->position().x()), bar->y());
            return true;
        case QEvent::MouseButtonRelease:
            if (!splitterDrag_)
                return true;
            splitterDrag_ = false;
            SetColour(splitterLine_, QPalette::Window, palette().color(QPalette::Button));
            splitter_ = PixelsToTwipsX(bar->x());
            LayOut(false);
            return true;
        default:
            return false;
    }
}

void AddFilesDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayOut(true);
}

int AddFilesDialog::CaptionHeight() const {
    return PixelsToTwipsY(style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this));
}

void AddFilesDialog::LayOut(bool vertical) {
    const int W = PixelsToTwipsX(width());
    const int c = CaptionHeight();
    // The frame around the client area is the window manager's; the rules
    // count a caption bar on top of the client area.
    const int H = PixelsToTwipsY(height()) + c;
    splitter_ = AddDialogLayout::ClampSplitter(splitter_, W);
    if (vertical)
        layout_.Vertical(H, c);
    layout_.Horizontal(W, splitter_);
    const AddDialogLayout& at = layout_;
    Place(placeBox_, at.frame0);
    Place(fileListBox_, at.frame1);
    Place(splitterBar_, at.frame2);
    Place(progressBox_, at.frame3);
    Place(splitterLine_, at.line0);
    Place(driveBox_, at.drive);
    Place(folderTree_, at.dir);
    Place(subfoldersCheck_, at.check);
    Place(fileList_, at.list);
    Place(filterLabel_, at.label0);
    Place(filterBox_, at.text0);
    Place(rebuildingNote_, at.overlay);
    Place(progressBar_, at.progressBar);
    Place(statusBar_, at.statusBar);
    Place(closeButton_, at.button0);
    Place(addButton_, at.button1);
    Place(selectAllButton_, at.button2);
    Place(clearAllButton_, at.button3);
    Place(cancelButton_, at.button4);
}

}  // namespace zv
