#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/project/ProjectDocument.h"

namespace zv {

// Small icons of the list rows.
enum ListIcon : int { IconFile = 1, IconGroup = 2, IconFileCut = 3, IconGroupCut = 4 };

struct ListRow {
    std::string text;
    std::string sizeText;  // empty for the ".." row
    int icon = IconFile;
    std::string tag;  // the item's name or the member's full path; empty for ".."
};

// What one of a project window's two lists shows.
struct ListContent {
    std::vector<ListRow> rows;
    // A group is opened: the first row is ".." and the text is dark blue.
    bool groupOpened = false;
    // List 1 only: the number of items on the medium and their summed sizes.
    int itemCount = 0;
    double totalSize = 0;
};

// The rows of list 0 (the whole project) or list 1 (the items of medium
// `medium`), at the top level or, when `group` names a group among them, the
// members of that group. Updates the document's opened group as drawing does.
ListContent RenderList(ProjectDocument& document, int list, const std::string& group,
                       int16_t medium);

// The size text of one row for a size unit, before padding: rounded to a whole
// number of the unit (halves to the even neighbour), grouped, with its suffix.
std::string SizeText(double bytes, SizeUnit unit);

// Blank-pads every size text on the left to the longest one, so that the
// texts sort in numeric order and line up.
void PadSizeTexts(std::vector<ListRow>& rows);

// The icon shown for `icon` of a member (index `member`, 0 for a whole item)
// under the item's cut marks.
int ItemIcon(int icon, int member, const CutMarks& cut);

}  // namespace zv
