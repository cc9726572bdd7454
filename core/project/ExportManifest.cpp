#include "core/project/ExportManifest.h"

#include <sstream>

namespace zv {

namespace {

constexpr const char* kHeading = "zarvopack export manifest 1";

// A path a line: a line break and a backslash in it are escaped.
std::string Escaped(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '\\') {
            escaped += "\\\\";
        } else if (c == '\n') {
            escaped += "\\n";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::optional<std::string> Unescaped(const std::string& text) {
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            plain += text[i];
        } else if (i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == 'n')) {
            plain += text[++i] == 'n' ? '\n' : '\\';
        } else {
            return std::nullopt;
        }
    }
    return plain;
}

}  // namespace

std::string ExportManifest::FileName(const std::string& project, ExportFormat format) {
    return project + "_" + FormatName(format) + ".manifest";
}

std::string ExportManifest::Text() const {
    std::string text = std::string(kHeading) + "\nproject " + Escaped(project) + "\nformat " +
                       FormatName(format) + "\n";
    for (const std::string& path : written)
        text += "wrote " + Escaped(path) + "\n";
    for (const std::string& path : unplaced)
        text += "unplaced " + Escaped(path) + "\n";
    return text;
}

std::optional<ExportManifest> ExportManifest::Parse(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || line != kHeading)
        return std::nullopt;
    ExportManifest manifest;
    bool formatSeen = false;
    while (std::getline(lines, line)) {
        const size_t space = line.find(' ');
        const std::string key = line.substr(0, space);
        const std::optional<std::string> value =
            space == std::string::npos ? std::nullopt : Unescaped(line.substr(space + 1));
        if (!value)
            return std::nullopt;
        if (key == "project") {
            manifest.project = *value;
        } else if (key == "format") {
            formatSeen = false;
            for (const ExportFormat format : {ExportFormat::Links, ExportFormat::Lists,
                                              ExportFormat::Catalog, ExportFormat::Iso}) {
                if (*value == FormatName(format)) {
                    manifest.format = format;
                    formatSeen = true;
                }
            }
        } else if (key == "wrote") {
            manifest.written.push_back(*value);
        } else if (key == "unplaced") {
            manifest.unplaced.push_back(*value);
        } else {
            return std::nullopt;
        }
    }
    if (!formatSeen)
        return std::nullopt;
    return manifest;
}

}  // namespace zv
