#pragma once

#include <QIcon>

namespace zv {

// The picture of a list row's small icon, by its number (IconFile to
// IconGroupCut of ListRenderer.h). Every call for a number gives the same icon.
QIcon ListIconImage(int icon);

}  // namespace zv
