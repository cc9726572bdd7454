#include "cli/ReportWriter.h"

#include <algorithm>
#include <cstdio>

#include "cli/ConsoleUi.h"
#include "cli/JsonText.h"
#include "core/settings/TextNumber.h"

namespace zv {

namespace {

double ItemSize(const ProjectItem& item) {
    double size = 0;
    for (const ProjectMember& member : item.members)
        size += member.size;
    return size;
}

int HighestMedium(const std::vector<ProjectItem>& items) {
    int highest = 0;
    for (const ProjectItem& item : items)
        highest = std::max<int>(highest, item.medium);
    return highest;
}

std::vector<const ProjectItem*> ItemsOf(const std::vector<ProjectItem>& items, int medium) {
    std::vector<const ProjectItem*> found;
    for (const ProjectItem& item : items) {
        if (item.medium == medium)
            found.push_back(&item);
    }
    return found;
}

double Total(const std::vector<const ProjectItem*>& items) {
    double total = 0;
    for (const ProjectItem* item : items)
        total += ItemSize(*item);
    return total;
}

// A name as it may go to a terminal: control characters (line breaks, the
// escape that starts a terminal's control sequence, the C1 controls) and the
// backslash are written as escapes, so that a file name can neither redraw the
// screen nor pass for two lines, and an escape stays told apart from a name.
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

std::string Column(const std::string& text, size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

void WriteItems(std::ostream& out, const std::vector<const ProjectItem*>& items) {
    for (const ProjectItem* item : items) {
        out << "    " << Column(FormatGrouped(ItemSize(*item)), 18) << "  " << Printable(item->name)
            << '\n';
        const bool group = item->members.size() != 1 || item->members[0].path != item->name;
        if (!group)
            continue;
        for (const ProjectMember& member : item->members) {
            out << "    " << Column(FormatGrouped(member.size), 18) << "    "
                << Printable(member.path) << '\n';
        }
    }
}

void WriteJsonItems(std::ostream& out, const std::vector<const ProjectItem*>& items) {
    out << '[';
    for (size_t i = 0; i < items.size(); ++i) {
        const ProjectItem& item = *items[i];
        out << (i ? ", " : "") << "{\"name\": " << JsonString(item.name)
            << ", \"size\": " << JsonBytes(ItemSize(item)) << ", \"files\": [";
        for (size_t m = 0; m < item.members.size(); ++m) {
            out << (m ? ", " : "") << JsonString(item.members[m].path);
        }
        out << "]}";
    }
    out << ']';
}

}  // namespace

void WriteTable(std::ostream& out, const Report& report, bool verbose) {
    if (report.message)
        out << OneLine(report.message->text) << "\n\n";
    out << "medium  items               total                free    fill\n";
    const int highest = HighestMedium(report.items);
    double placed = 0;
    for (int n = 1; n <= highest; ++n) {
        const auto items = ItemsOf(report.items, n);
        const double total = Total(items);
        placed += total;
        out << Column(std::to_string(n), 6) << Column(std::to_string(items.size()), 7)
            << Column(FormatGrouped(total), 20);
        if (report.mediaSize > 0) {
            char fill[16];
            std::snprintf(fill, sizeof fill, "%.1f%%", 100 * total / report.mediaSize);
            out << Column(FormatGrouped(report.mediaSize - total), 20) << Column(fill, 8);
        }
        out << '\n';
        if (verbose)
            WriteItems(out, items);
    }
    const auto unplaced = ItemsOf(report.items, 0);
    out << "unplaced" << Column(std::to_string(unplaced.size()), 5)
        << Column(FormatGrouped(Total(unplaced)), 20) << '\n';
    if (verbose)
        WriteItems(out, unplaced);
    out << highest << (highest == 1 ? " medium, " : " media, ") << FormatGrouped(placed)
        << " bytes placed\n";
}

void WriteJson(std::ostream& out, const Report& report) {
    out << "{\"completed\": " << (report.completed ? "true" : "false") << ", \"message\": ";
    if (report.message) {
        out << "{\"id\": " << report.message->id
            << ", \"text\": " << JsonString(report.message->text) << '}';
    } else {
        out << "null";
    }
    out << ", \"media\": [";
    const int highest = HighestMedium(report.items);
    for (int n = 1; n <= highest; ++n) {
        const auto items = ItemsOf(report.items, n);
        out << (n > 1 ? ", " : "") << "{\"number\": " << n
            << ", \"total\": " << JsonBytes(Total(items));
        if (report.searches) {
            const auto found = report.searches->find(n);
            const MediumReport search =
                found == report.searches->end() ? MediumReport{} : found->second;
            out << ", \"search_steps\": " << search.searchSteps
                << ", \"search_seconds\": " << JsonNumber(search.searchSeconds);
        } else {
            out << ", \"search_steps\": null, \"search_seconds\": null";
        }
        out << ", \"items\": ";
        WriteJsonItems(out, items);
        out << '}';
    }
    out << "], \"unplaced\": ";
    WriteJsonItems(out, ItemsOf(report.items, 0));
    out << "}\n";
}

}  // namespace zv
