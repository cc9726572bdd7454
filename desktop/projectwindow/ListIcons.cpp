#include "desktop/projectwindow/ListIcons.h"

#include <array>

#include "core/project/ListRenderer.h"

// The pictures are compiled into this static library; its resource data only
// links in when something refers to it.
static void InitListIconResources() {
    Q_INIT_RESOURCE(ListIcons);
}

namespace zv {

QIcon ListIconImage(int icon) {
    static const std::array<QIcon, 4> images = [] {
        InitListIconResources();
        return std::array<QIcon, 4>{
            QIcon(QStringLiteral(":/icons/list/file.svg")),
            QIcon(QStringLiteral(":/icons/list/group.svg")),
            QIcon(QStringLiteral(":/icons/list/file-cut.svg")),
            QIcon(QStringLiteral(":/icons/list/group-cut.svg")),
        };
    }();
    return images.at(icon - IconFile);
}

}  // namespace zv
