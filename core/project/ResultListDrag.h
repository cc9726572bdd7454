#pragma once

namespace zv {

// Where the main window stands on the screen, in twips.
struct WindowPlace {
    int left = 0;
    int top = 0;
    int height = 0;
};

// Whether a mouse move over the result list with a button held starts a drag
// of its selected rows: the pointer (x, y), in twips within the list, has to
// be above the main window's top or below its bottom edge, left of its left
// edge, or right of the end of the list's first row. The pointer's place in
// the list is set against the window's place on the screen as the numbers
// stand, without converting one into the other.
bool StartsResultListDrag(int x, int y, const WindowPlace& mainWindow, int firstRowWidth);

}  // namespace zv
