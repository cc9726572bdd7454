#pragma once

#include <QTreeWidget>
#include <cstdint>
#include <string>
#include <vector>

#include "desktop/projectwindow/MediaSummary.h"

namespace zv {

// The result tab's table of every medium at once: its number, items, bytes,
// the file system's share where the run left room for one, free bytes and a
// bar of how full it is; below them, in red, every item no medium holds with
// the reason. Choosing a row asks for that medium's files (0: the unplaced).
class MediaOverview : public QTreeWidget {
    Q_OBJECT

  public:
    enum Column { Medium, Items, Bytes, FileSystem, Free, Fill, Note, ColumnCount };
    // The role of a fill column cell that holds how full its medium is (0 to
    // 1), and of the first column that holds a row's medium number.
    static constexpr int kFillRole = Qt::UserRole + 1;
    static constexpr int kMediumRole = Qt::UserRole + 2;

    explicit MediaOverview(QWidget* parent = nullptr);

    // Shows `summary`; `items` gives the unplaced items' names, `labels` the
    // medium names as the chooser words them (medium 1 first).
    void Show(const MediaSummary& summary, const std::vector<ProjectItem>& items,
              const std::vector<std::string>& labels);
    // Marks the row of a medium (0: the unplaced) as the current one without
    // asking for it again.
    void MarkMedium(int16_t medium);

  signals:
    void MediumChosen(int16_t medium);
};

}  // namespace zv
