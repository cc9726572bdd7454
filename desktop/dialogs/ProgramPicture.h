#pragma once

#include <QIcon>

namespace zv {

// The program's own picture: the window icon and the version box's picture.
QIcon ProgramPicture();

}  // namespace zv
