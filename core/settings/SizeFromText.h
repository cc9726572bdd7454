#pragma once

#include <string>

namespace zv {

// Bytes of a media-size text: a number of bytes, or the name of a size preset
// of the settings file. A name that no preset has shows a message and gives 0;
// a preset that does not convert gives 0 without a message; a settings file
// that cannot be read is named in the common error box and gives 0.
double SizeFromText(const std::string& text);

}  // namespace zv
