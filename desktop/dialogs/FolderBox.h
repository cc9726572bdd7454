#pragma once

#include <QElapsedTimer>
#include <QTreeWidget>
#include <string>

namespace zv {

// The add-files dialog's folder box: the folders of one drive as a tree, from
// the drive's root down to the shown folder, with the shown folder's
// subfolders below it. Moving through the box with the keys only highlights
// a folder; a click on it or Enter enters it.
class FolderBox : public QTreeWidget {
    Q_OBJECT

  public:
    explicit FolderBox(QWidget* parent = nullptr);

    // Shows `path`, which lies on the drive whose root folder is `root`.
    void Show(const std::string& root, const std::string& path);
    const std::string& Path() const { return path_; }
    const std::string& Root() const { return root_; }
    // The full path of the highlighted folder; the shown one when none is.
    std::string Highlighted() const;

  signals:
    // The user entered a folder of the box.
    void FolderEntered(const QString& path);

  private:
    std::string root_;
    std::string path_;
    // Since the last click that entered a folder.
    QElapsedTimer clicked_;
};

}  // namespace zv
