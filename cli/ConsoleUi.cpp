#include "cli/ConsoleUi.h"

#include <cstdio>
#include <iostream>

namespace zv {

std::string OneLine(const std::string& text) {
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            line += ' ';
            ++i;
        } else if (text[i] == '\n' || text[i] == '\r') {
            line += ' ';
        } else {
            line += text[i];
        }
    }
    return line;
}

std::string Printable(const std::string& text) {
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        char escape[8];
        if (c == '\\') {
            shown += "\\\\";
        } else if (c == '\n') {
            shown += "\\n";
        } else if (c == '\r') {
            shown += "\\r";
        } else if (c == '\t') {
            shown += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            std::snprintf(escape, sizeof escape, "\\x%02x", c);
            shown += escape;
        } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
            std::snprintf(escape, sizeof escape, "\\u%04x", next);
            shown += escape;
            ++i;
        } else {
            shown += text[i];
        }
    }
    return shown;
}

MsgResult ConsoleUi::MessageBox(const MessageBoxRequest& request) {
    std::cerr << "zarvopack-cli: " << OneLine(request.text) << '\n';
    return DefaultAnswer(request.buttons, request.defaultButton);
}

}  // namespace zv
