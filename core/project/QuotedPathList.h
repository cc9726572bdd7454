#pragma once

#include <string>
#include <string_view>

namespace zv {

// A path list as xorriso's --quoted_path_list reads it in its mkisofs
// emulation with -graft-points, once -backslash_codes with_quoted_input is
// on: one "/on/medium=/source" word a line, in double quotes. "=" and "\" in
// the name on the medium take the graft point's escapes ("\=", "\\"), and then
// every byte that is not printable ASCII, a quote or a backslash is written as
// \xHH, so that any name a Linux file system holds (a line break, bytes that
// are no UTF-8, a leading "-") reaches xorriso as it is.
class QuotedPathList {
  public:
    // The -backslash_codes mode under which xorriso reads the list as written.
    static constexpr const char* kBackslashCodes = "with_quoted_input";

    // A file, a folder (with what it holds) or a link as a link, as xorriso
    // adds it when it follows no link.
    void Add(std::string_view onMedium, std::string_view source);

    const std::string& Text() const { return text_; }

  private:
    std::string text_;
};

}  // namespace zv
