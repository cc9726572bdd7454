#include "desktop/dialogs/FolderBox.h"

#include <QApplication>
#include <QHeaderView>
#include <QStyle>
#include <algorithm>
#include <filesystem>
#include <vector>

namespace zv {

namespace {

namespace fs = std::filesystem;

constexpr int kPathRole = Qt::UserRole;

// The subfolders of a folder by name, without regard to letter case; a folder
// that cannot be read has none.
std::vector<fs::path> SubfoldersOf(const fs::path& folder) {
    std::vector<fs::path> subfolders;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code failed;
        if (it->is_directory(failed))
            subfolders.push_back(it->path());
    }
    std::sort(subfolders.begin(), subfolders.end(), [](const fs::path& a, const fs::path& b) {
        return QString::compare(QString::fromStdString(a.filename().string()),
                                QString::fromStdString(b.filename().string()),
                                Qt::CaseInsensitive) < 0;
    });
    return subfolders;
}

QTreeWidgetItem* NewItem(const QString& text, const fs::path& path, const QIcon& icon) {
    auto* item = new QTreeWidgetItem(QStringList{text});
    item->setData(0, kPathRole, QString::fromStdString(path.string()));
    item->setIcon(0, icon);
    return item;
}

}  // namespace

FolderBox::FolderBox(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setIndentation(12);
    header()->setStretchLastSection(true);
    // One click enters a folder, as a file manager's tree does.
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        clicked_.start();
        emit FolderEntered(item->data(0, kPathRole).toString());
    });
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        // The second click of a double click lands on the tree its first click
        // drew anew: it must not enter whatever folder lies there now.
        if (clicked_.isValid() && clicked_.elapsed() < QApplication::doubleClickInterval())
            return;
        emit FolderEntered(item->data(0, kPathRole).toString());
    });
}

void FolderBox::Show(const std::string& root, const std::string& path) {
    root_ = root;
    path_ = path;
    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);

    // The chain of folders from the root down to the shown one.
    const fs::path rootPath = fs::path(root).lexically_normal();
    const fs::path shown = fs::path(path).lexically_normal();
    QTreeWidgetItem* current = NewItem(QString::fromStdString(root), rootPath, open);
    addTopLevelItem(current);
    fs::path walked = rootPath;
    const fs::path below = shown.lexically_relative(rootPath);
    for (const fs::path& name : below) {
        if (name.empty() || name == ".")
            continue;
        walked /= name;
        auto* item = NewItem(QString::fromStdString(name.string()), walked, open);
        current->addChild(item);
        current = item;
    }
    for (const fs::path& subfolder : SubfoldersOf(shown))
        current->addChild(
            NewItem(QString::fromStdString(subfolder.filename().string()), subfolder, closed));
    expandAll();
    setCurrentItem(current);
    scrollToItem(current);
}

std::string FolderBox::Highlighted() const {
    const QTreeWidgetItem* item = currentItem();
    return item ? item->data(0, kPathRole).toString().toStdString() : path_;
}

}  // namespace zv
