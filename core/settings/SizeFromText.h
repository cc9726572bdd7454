#pragma once

#include <string>

namespace zv {

// Bytes of a media-size text: a number of bytes, the name of a size preset of
// the settings file, or a capacity as ParseCapacity reads it ("4.7G", "dvd").
// A text that is none of them shows a message and gives 0; a preset that does
// not convert ends the presets and gives 0 without a message unless the text
// is a capacity of its own; a settings file that cannot be read is named in
// the common error box and gives 0. A capacity beyond kMaxCapacity gives 0.
double SizeFromText(const std::string& text);

}  // namespace zv
