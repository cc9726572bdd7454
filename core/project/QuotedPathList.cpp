#include "core/project/QuotedPathList.h"

namespace zv {

namespace {

void AppendQuotedByte(std::string& text, char c) {
    static constexpr char kHex[] = "0123456789abcdef";
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7f && c != '"' && c != '\'' && c != '\\') {
        text += c;
        return;
    }
    text += "\\x";
    text += kHex[byte >> 4];
    text += kHex[byte & 0xf];
}

}  // namespace

void QuotedPathList::Add(std::string_view onMedium, std::string_view source) {
    text_ += '"';
    for (const char c : onMedium) {
        if (c == '=' || c == '\\')
            AppendQuotedByte(text_, '\\');
        AppendQuotedByte(text_, c);
    }
    text_ += '=';
    for (const char c : source)
        AppendQuotedByte(text_, c);
    text_ += "\"\n";
}

}  // namespace zv
