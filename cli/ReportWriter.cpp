#include "cli/ReportWriter.h"

#include <algorithm>
#include <cstdio>

#include "cli/ConsoleUi.h"
#include "cli/JsonText.h"
#include "core/settings/TextNumber.h"

namespace zv {

namespace {

using ItemList = std::vector<const ProjectItem*>;

// The items of each medium in list order; the first list holds the items on
// no medium.
std::vector<ItemList> ByMedium(const std::vector<ProjectItem>& items) {
    int32_t highest = 0;
    for (const ProjectItem& item : items)
        highest = std::max(highest, item.medium);
    std::vector<ItemList> media(static_cast<std::size_t>(highest) + 1);
    for (const ProjectItem& item : items)
        media[static_cast<std::size_t>(item.medium)].push_back(&item);
    return media;
}

double Total(const ItemList& items) {
    double total = 0;
    for (const ProjectItem* item : items)
        total += item->Bytes();
    return total;
}

std::string Column(const std::string& text, size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

void WriteItems(std::ostream& out, const ItemList& items) {
    for (const ProjectItem* item : items) {
        out << "    " << Column(FormatGrouped(item->Bytes()), 18) << "  " << Printable(item->name)
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

// An item with its files, and the reason it is on no medium where one is given.
void WriteJsonItem(std::ostream& out, const ProjectItem& item, const char* reason) {
    out << "{\"name\": " << JsonString(item.name) << ", \"size\": " << JsonBytes(item.Bytes())
        << ", \"files\": [";
    for (size_t m = 0; m < item.members.size(); ++m)
        out << (m ? ", " : "") << JsonString(item.members[m].path);
    out << ']';
    if (reason)
        out << ", \"reason\": \"" << reason << '"';
    out << '}';
}

void WriteJsonItems(std::ostream& out, const ItemList& items) {
    out << '[';
    for (size_t i = 0; i < items.size(); ++i) {
        out << (i ? ", " : "");
        WriteJsonItem(out, *items[i], nullptr);
    }
    out << ']';
}

// A capacity, the bytes it leaves free and how full it is (0 to 1), or
// nulls when the capacity is not known.
void WriteJsonFill(std::ostream& out, double capacity, double total) {
    if (capacity > 0) {
        out << ", \"capacity\": " << JsonBytes(capacity)
            << ", \"free\": " << JsonBytes(capacity - total)
            << ", \"fill\": " << JsonNumber(total / capacity);
    } else {
        out << ", \"capacity\": null, \"free\": null, \"fill\": null";
    }
}

void WriteJsonUnplaced(std::ostream& out, const Report& report, const ItemList& unplaced) {
    if (!report.leftOut) {
        WriteJsonItems(out, unplaced);
        return;
    }
    out << '[';
    const auto& reasons = report.leftOut->Unplaced();
    for (size_t i = 0; i < reasons.size(); ++i) {
        out << (i ? ", " : "");
        WriteJsonItem(out, report.items[reasons[i].index], ReasonName(reasons[i].reason));
    }
    out << ']';
    out << ", \"skipped\": [";
    const auto& skipped = report.leftOut->Skipped();
    for (size_t i = 0; i < skipped.size(); ++i) {
        out << (i ? ", " : "") << "{\"path\": " << JsonString(skipped[i].path)
            << ", \"kind\": " << JsonString(skipped[i].kind) << '}';
    }
    out << ']';
}

}  // namespace

void WriteTable(std::ostream& out, const Report& report, bool verbose) {
    if (report.message)
        out << OneLine(report.message->text) << "\n\n";
    out << "medium  items               total                free    fill\n";
    const std::vector<ItemList> media = ByMedium(report.items);
    const std::size_t highest = media.size() - 1;
    double placed = 0;
    for (std::size_t n = 1; n <= highest; ++n) {
        const ItemList& items = media[n];
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
    const ItemList& unplaced = media[0];
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
    const std::vector<ItemList> media = ByMedium(report.items);
    const std::size_t highest = media.size() - 1;
    double placed = 0;
    for (std::size_t n = 1; n <= highest; ++n) {
        const ItemList& items = media[n];
        const double total = Total(items);
        placed += total;
        out << (n > 1 ? ", " : "") << "{\"number\": " << n << ", \"total\": " << JsonBytes(total);
        if (report.searches) {
            const auto found = report.searches->find(static_cast<int>(n));
            const MediumReport search =
                found == report.searches->end() ? MediumReport{} : found->second;
            out << ", \"search_steps\": " << search.searchSteps
                << ", \"search_seconds\": " << JsonNumber(search.searchSeconds);
        } else {
            out << ", \"search_steps\": null, \"search_seconds\": null";
        }
        WriteJsonFill(out, report.mediaSize, total);
        out << ", \"items\": ";
        WriteJsonItems(out, items);
        out << '}';
    }
    const ItemList& unplaced = media[0];
    const double left = Total(unplaced);
    out << "], \"unplaced\": ";
    WriteJsonUnplaced(out, report, unplaced);
    out << ", \"totals\": {\"items\": " << report.items.size()
        << ", \"bytes\": " << JsonBytes(placed + left) << ", \"media\": " << highest
        << ", \"placed_bytes\": " << JsonBytes(placed) << ", \"unplaced\": " << unplaced.size()
        << ", \"unplaced_bytes\": " << JsonBytes(left) << '}';
    out << "}\n";
}

}  // namespace zv
