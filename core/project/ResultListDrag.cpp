#include "core/project/ResultListDrag.h"

namespace zv {

bool StartsResultListDrag(int x, int y, const WindowPlace& mainWindow, int firstRowWidth) {
    return y < mainWindow.top || y > mainWindow.top + mainWindow.height || x < mainWindow.left ||
           x > firstRowWidth;
}

}  // namespace zv
