#include "cli/ConsoleUi.h"

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

MsgResult ConsoleUi::MessageBox(const MessageBoxRequest& request) {
    std::cerr << "zarvopack-cli: " << OneLine(request.text) << '\n';
    return DefaultAnswer(request.buttons, request.defaultButton);
}

}  // namespace zv
