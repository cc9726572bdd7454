// Build step: turns strings.tsv into a C++ source holding the table, so that
// the program carries its texts inside the binary and never reads the file,
// and into a header naming the ids of the texts that have a name.
// A fault in the file stops the build with "file:line: error: ...".

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "core/strings/StringTableParser.h"

namespace {

// Every byte outside printable ASCII becomes a three-digit octal escape, which
// cannot run into the byte after it the way a hex escape can.
std::string CppLiteral(const std::string& text) {
    std::string literal = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            literal += '\\';
            literal += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\%03o", byte);
            literal += escape;
        } else {
            literal += c;
        }
    }
    return literal + "\"";
}

std::string CppSource(const std::vector<zv::StringTableEntry>& entries) {
    std::ostringstream out;
    out << "// Generated from strings.tsv by make_string_table. Do not edit.\n"
        << "#include \"core/strings/StringTableRows.h\"\n\n"
        << "namespace zv {\n\n"
        << "using namespace std::string_view_literals;\n\n"
        << "const StringTableRow kStringTableRows[] = {\n";
    for (const auto& entry : entries) {
        out << "    {" << entry.id << ", " << CppLiteral(entry.text) << "sv},\n";
    }
    out << "};\n\n"
        << "const std::size_t kStringTableRowCount = " << entries.size() << ";\n\n"
        << "}  // namespace zv\n";
    return out.str();
}

std::string CppHeader(const std::vector<zv::StringTableEntry>& entries) {
    std::ostringstream out;
    out << "// Generated from strings.tsv by make_string_table. Do not edit.\n"
        << "#pragma once\n\n"
        << "// The ids of the texts the code names, for ResString and messages.\n"
        << "namespace zv::text_id {\n\n";
    for (const auto& entry : entries) {
        if (!entry.name.empty())
            out << "inline constexpr int " << entry.name << " = " << entry.id << ";\n";
    }
    out << "\n}  // namespace zv::text_id\n";
    return out.str();
}

// Writes the whole text or nothing, so that a failed build never leaves a
// half-made file behind that a later build would take as up to date.
bool WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::cerr << path << ": error: cannot write the file\n";
        std::remove(path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: make_string_table strings.tsv output.cpp output.h\n";
        return 2;
    }
    const std::string sourcePath = argv[1];
    const std::string outputPath = argv[2];
    const std::string headerPath = argv[3];

    std::ifstream in(sourcePath, std::ios::binary);
    if (!in) {
        std::cerr << sourcePath << ": error: cannot read the file\n";
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();

    std::vector<zv::StringTableEntry> entries;
    try {
        entries = zv::ParseStringTable(text.str());
    } catch (const zv::StringTableSyntaxError& error) {
        std::cerr << sourcePath << ":" << error.Line() << ": error: " << error.what() << "\n";
        return 1;
    }
    if (entries.empty()) {
        std::cerr << sourcePath << ": error: the table has no entries\n";
        return 1;
    }

    // Nothing is written unless the whole table is sound.
    if (!WriteFile(headerPath, CppHeader(entries)))
        return 1;
    if (!WriteFile(outputPath, CppSource(entries))) {
        std::remove(headerPath.c_str());
        return 1;
    }
    return 0;
}
