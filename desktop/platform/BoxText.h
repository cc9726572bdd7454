#pragma once

#include <QString>

class QFontMetrics;

namespace zv {

// The text of a message box with its long lines broken before the box wraps
// them itself: a line wider than `width` pixels breaks where Qt's line
// breaking allows, but inside a path only after a "/", so a path wraps at its
// separators and never in the middle of a name. A path starts with a "/" at
// the start of a line or after a blank or a quote, and runs to the quote that
// closes it or to the end of the line. A piece that cannot break is left as
// wide as it is.
QString BrokenForBox(const QString& text, const QFontMetrics& metrics, int width);

}  // namespace zv
