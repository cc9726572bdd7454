#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "desktop/dialogs/AddDialogLayout.h"
#include "desktop/dialogs/Drives.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMimeData;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTreeView;

namespace zv {

class FileListModel;
class FolderBox;
class ProjectDocument;

// Where added files go: the project's document and its window's redraw of the
// file list (with the group to show opened). Adding stops once `window`, which
// holds both, has gone.
struct AddTarget {
    QPointer<QObject> window;
    ProjectDocument* document = nullptr;
    std::function<void(const std::string& openGroup)> redrawList;
};

// The add-files dialog: drives and folders on the left, the files of the shown
// folder (with subfolders if wanted) on the right with check boxes, a filter,
// and the button that hands the checked files to the project window. The
// folder shown last is remembered in the settings file. Its opener shows it
// modally; adding leaves it open.
class AddFilesDialog : public QDialog {
    Q_OBJECT

  public:
    // `target`: the project the files go to. `drives`: the drives the
    // box offers (the mounted volumes unless a test brings its own). The
    // boxes show the remembered folder at once; its files are listed when
    // the dialog first shows.
    AddFilesDialog(QWidget* owner, AddTarget target,
                   std::unique_ptr<Drives> drives = std::unique_ptr<Drives>());
    ~AddFilesDialog() override;

    // The folder the dialog shows.
    const std::string& Folder() const { return folder_; }
    // True while a scan or a filter pass is rebuilding the list.
    bool Busy() const { return busy_; }

    // Shows another folder, as choosing it in the folder box does: the list
    // is scanned again without subfolders, every row checked, and the folder
    // remembered.
    void ChangeFolder(const std::string& path);

  public slots:
    // Closing during a scan stops the scan; the dialog closes when it has.
    void reject() override;
    // Closing lets the gathered files go.
    void done(int result) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void BuildControls();
    void SetCaptions();
    void Load();
    // The drive box shows the drive of the shown folder, without the handling
    // of a drive change.
    void FollowDrive();
    // The drive box and the folder box show the shown folder.
    void ShowFolderInBoxes();
    // The root folder of the drive a path lies on.
    std::string RootOf(const std::string& path) const;
    bool IsDriveRoot(const std::string& path) const;
    void OnDriveChanged(int index);
    void RememberFolder() const;
    // The size and splitter the user left the dialog with, kept in the
    // settings file for the next time.
    void RestoreGeometry();
    void StoreGeometry() const;

    void Scan();
    double MeasureTree();
    void ApplyFilter();
    void AddChecked();
    void CheckAll(bool checked);
    void CancelScan();
    void EnableControls(bool normal);
    // Ends a scan or a filter pass; a close wanted meanwhile happens now.
    void EndBusy();

    bool OnKeyPress(QObject* watched, const QKeyEvent& key);
    bool OnKeyRelease(const QKeyEvent& key);
    bool OnDrag(QEvent* event);
    bool OnSplitterMouse(QEvent* event);
    void LayOut(bool vertical);
    int CaptionHeight() const;

    AddTarget target_;
    std::unique_ptr<Drives> drives_;
    std::vector<Drive> driveList_;
    std::string folder_;
    FileListModel* model_ = nullptr;
    AddDialogLayout layout_;
    int splitter_ = AddDialogLayout::kDesignSplitter;
    bool splitterDrag_ = false;
    bool shown_ = false;
    bool scanned_ = false;
    bool busy_ = false;
    bool cancel_ = false;
    // The window's close box was used during a scan: the dialog closes when
    // the scan has stopped.
    bool closeWanted_ = false;
    QPointer<QWidget> focusBeforeBusy_;

    // Where the files come from: the drive, the folder tree, subfolders.
    QGroupBox* placeBox_ = nullptr;
    QComboBox* driveBox_ = nullptr;
    FolderBox* folderTree_ = nullptr;
    QCheckBox* subfoldersCheck_ = nullptr;
    // The files found, their filter and the buttons that check them.
    QGroupBox* fileListBox_ = nullptr;
    QTreeView* fileList_ = nullptr;
    QLabel* filterLabel_ = nullptr;
    QLineEdit* filterBox_ = nullptr;
    QPushButton* selectAllButton_ = nullptr;
    QPushButton* clearAllButton_ = nullptr;
    // Over the list while it is filled again.
    QLineEdit* rebuildingNote_ = nullptr;
    // The bar between the two boxes that the mouse moves.
    QFrame* splitterBar_ = nullptr;
    QFrame* splitterLine_ = nullptr;
    // A scan's progress and its cancel button.
    QGroupBox* progressBox_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
};

}  // namespace zv
