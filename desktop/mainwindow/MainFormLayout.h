#pragma once

#include <optional>

namespace zv {

// The main window's position and size in twips, as section LASTMAINFORM of the
// settings file keeps them. A value the file lacks stays unset.
struct MainFormLayout {
    std::optional<double> top;
    std::optional<double> left;
    std::optional<double> width;
    std::optional<double> height;
};

// Reads TOP, LEFT, WIDTH and HEIGHT in this order. A value that is no number is
// reported in the common error box and left unset; the others still count.
MainFormLayout ReadMainFormLayout();

// Writes all four values; a refused write is of no concern to the caller.
void WriteMainFormLayout(int top, int left, int width, int height);

}  // namespace zv
