#include "core/strings/JsonEscape.h"

#include <cstdio>

namespace zv {

namespace {

// The length of the well-formed UTF-8 sequence at the start of `text`, or 0
// when it starts with a byte that begins none.
size_t Utf8Length(std::string_view text) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    unsigned low = 0x80, high = 0xbf;  // the allowed range of the second byte
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        if (lead == 0xe0)
            low = 0xa0;  // no overlong forms
        if (lead == 0xed)
            high = 0x9f;  // no surrogates
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        if (lead == 0xf0)
            low = 0x90;
        if (lead == 0xf4)
            high = 0x8f;  // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xbf)
            return 0;
    }
    return length;
}

}  // namespace

std::string JsonEscaped(std::string_view text) {
    std::string json;
    while (!text.empty()) {
        const char c = text.front();
        const size_t length = Utf8Length(text);
        if (length == 0) {
            // A byte that is no UTF-8 (a name in another encoding) becomes a
            // lone low surrogate U+DC00 + byte, so the output stays valid JSON
            // and the byte can be told back.
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\udc%02x", static_cast<unsigned char>(c));
            json += escape;
            text.remove_prefix(1);
            continue;
        }
        switch (c) {
            case '"':
                json += "\\\"";
                break;
            case '\\':
                json += "\\\\";
                break;
            case '\n':
                json += "\\n";
                break;
            case '\r':
                json += "\\r";
                break;
            case '\t':
                json += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                    json += escape;
                } else {
                    json.append(text.substr(0, length));
                }
        }
        text.remove_prefix(length);
    }
    return json;
}

}  // namespace zv
