#include "core/project/ProjectFile.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <map>

#include "core/db/CostLimits.h"
#include "core/db/Database.h"
#include "core/db/DatabaseFile.h"
#include "core/db/ProjectSideFiles.h"
#include "core/db/Statement.h"
#include "core/db/Transaction.h"
#include "core/platform/AtomicReplace.h"
#include "core/platform/FileError.h"
#include "core/platform/FileLock.h"
#include "core/platform/PlatformError.h"
#include "core/project/DefaultRunSettings.h"
#include "core/project/ProjectDocument.h"
#include "core/project/Sha256.h"

namespace zv {

namespace {

// A column of one of the program's tables as it is declared.
struct Column {
    const char* name;
    const char* type;
};

struct Table {
    const char* name;
    std::vector<Column> columns;
};

const Table kMainDB{"MainDB",
                    {{"PATH", "VARCHAR(255)"},
                     {"SIZE", "DOUBLE"},
                     {"GROUP", "INTEGER"},
                     {"GROUPNAME", "VARCHAR(255)"},
                     {"RATE", "INTEGER"},
                     {"PRIORITY", "INTEGER"},
                     {"CDNUMBER", "INTEGER"}}};
const Table kSetUp{"SetUp",
                   {{"MEDIASIZE", "VARCHAR(50)"},
                    {"SIZEDIFF", "DOUBLE"},
                    {"MEDIANUM", "INTEGER"},
                    {"MAXFILE", "INTEGER"},
                    {"MINFILE", "INTEGER"},
                    {"AFTERFLG", "INTEGER"},
                    {"AFTERPATH", "VARCHAR(255)"},
                    {"METHOD", "INTEGER"},
                    {"FSALLOW", "INTEGER"}}};
const Table kPlan{"Plan", {{"MEDIUM", "INTEGER"}, {"ITEM", "INTEGER"}}};
const Table kMedia{"Media",
                   {{"MEDIUM", "INTEGER PRIMARY KEY"}, {"ITEMS", "INTEGER"}, {"BYTES", "DOUBLE"}}};
const Table kIntegrity{"Integrity", {{"SHA256", "TEXT"}}};

std::string CreateStatement(const Table& table) {
    std::string statement = std::string("CREATE TABLE [") + table.name + "] (";
    for (const Column& column : table.columns) {
        if (&column != &table.columns.front())
            statement += ", ";
        statement += std::string("[") + column.name + "] " + column.type;
    }
    return statement + ")";
}

// Item numbers are list positions.
constexpr int kLastItemNumber = kMaxProjectItems - 1;
// Sizes and the tolerance are kept as doubles, which hold every whole number
// below 2^53 exactly; beyond it a size no longer converts to a byte count.
constexpr double kSizeLimit = 9007199254740992.0;
// The longest text one field of a project file may hold: far beyond any path
// or name, far below what would strain the memory.
constexpr int kMaxFieldBytes = 1 << 20;
// SQLite opens no database whose full path is longer than 512 bytes, and the
// longest name the program opens beside a project is "P.saving.TMP".
constexpr std::size_t kMaxDatabasePathBytes = 512;
constexpr std::size_t kMaxProjectPathBytes = kMaxDatabasePathBytes - 11;

// The start of a text for a message that may have to quote a very long one.
std::string Shortened(const std::string& text) {
    constexpr std::size_t kShown = 60;
    return text.size() <= kShown ? text : text.substr(0, kShown) + "...";
}

// A number as a message shows it: every digit, no exponent.
std::string NumberText(double value) {
    char text[1100];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed).ptr;
    return std::string(text, end);
}

// The checksum of what a project is: every item's name and members with
// their exact sizes, and the medium it is placed on, each length-prefixed so
// no two projects give the same bytes.
class ContentDigest {
  public:
    void addItem(const ProjectItem& item) {
        addText(item.name);
        addNumber(item.members.size());
        for (const ProjectMember& member : item.members) {
            addText(member.path);
            addNumber(std::bit_cast<uint64_t>(member.size));
        }
        addNumber(static_cast<uint64_t>(static_cast<uint32_t>(item.medium)));
    }
    std::string hex() { return sha_.HexDigest(); }

  private:
    void addNumber(uint64_t value) {
        unsigned char bytes[8];
        for (int i = 0; i < 8; ++i)
            bytes[i] = static_cast<unsigned char>(value >> (8 * i));
        sha_.Add(bytes, sizeof bytes);
    }
    void addText(const std::string& text) {
        addNumber(text.size());
        sha_.Add(text);
    }

    Sha256 sha_;
};

// Items without files write no row and so are no part of what a file holds.
std::string Checksum(const std::vector<ProjectItem>& items) {
    ContentDigest digest;
    for (const ProjectItem& item : items) {
        if (!item.members.empty())
            digest.addItem(item);
    }
    return digest.hex();
}

// Binds the values in order from parameter 1 and runs the statement once.
template <typename... Values>
Status RunWith(Statement& statement, const Values&... values) {
    int index = 0;
    Status status;
    ((status = status.ok() ? statement.bind(++index, values) : status), ...);
    if (status.ok())
        status = statement.run();
    if (Status reset = statement.reset(); status.ok())
        status = std::move(reset);
    return status;
}

// The plan's own tables, one row per placed item and one per medium, and the
// checksum of the items and plan.
Status WritePlan(Database& db, const std::vector<ProjectItem>& items) {
    Statement plan;
    if (Status status = db.prepare("INSERT INTO [Plan] VALUES(?, ?)", plan); !status.ok())
        return status;
    struct Medium {
        int64_t items = 0;
        double bytes = 0;
    };
    // Medium numbers need not run without gaps in a file from elsewhere.
    std::map<int32_t, Medium> media;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int32_t medium = items[i].medium;
        if (medium == 0)
            continue;
        if (Status status = RunWith(plan, int64_t{medium}, static_cast<int64_t>(i)); !status.ok())
            return status;
        ++media[medium].items;
        media[medium].bytes += items[i].Bytes();
    }
    Statement row;
    if (Status status = db.prepare("INSERT INTO [Media] VALUES(?, ?, ?)", row); !status.ok())
        return status;
    for (const auto& [medium, content] : media) {
        if (Status status = RunWith(row, int64_t{medium}, content.items, content.bytes);
            !status.ok())
            return status;
    }
    Statement integrity;
    if (Status status = db.prepare("INSERT INTO [Integrity] VALUES(?)", integrity); !status.ok())
        return status;
    return RunWith(integrity, Checksum(items));
}

// A row that is not written would silently drop a file from the project, so
// every statement must succeed; the transaction keeps all or nothing.
Status WriteRows(Database& db, const std::vector<ProjectItem>& items, const RunSettings& settings) {
    Transaction transaction(db);
    if (Status status = transaction.begin(); !status.ok())
        return status;
    std::string schema =
        "PRAGMA application_id = " + std::to_string(kVersionedProjectApplicationId) +
        "; PRAGMA user_version = " + std::to_string(kProjectFileVersion) + ";";
    for (const Table* table : {&kMainDB, &kSetUp, &kPlan, &kMedia, &kIntegrity})
        schema += CreateStatement(*table) + ";";
    if (Status status = db.execute(schema); !status.ok())
        return status;
    Statement row;
    if (Status status = db.prepare("INSERT INTO [MainDB] VALUES(?, ?, ?, ?, 0, 0, ?)", row);
        !status.ok())
        return status;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ProjectItem& item = items[i];
        for (const ProjectMember& member : item.members) {
            if (Status status = RunWith(row, std::string_view(member.path), member.size,
                                        static_cast<int64_t>(i), std::string_view(item.name),
                                        int64_t{item.medium});
                !status.ok())
                return status;
        }
    }
    Statement setUp;
    if (Status status = db.prepare("INSERT INTO [SetUp] VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)", setUp);
        !status.ok())
        return status;
    if (Status status = RunWith(setUp, std::string_view(settings.MediaSize), settings.DiffSize,
                                int64_t{settings.MediaNum}, int64_t{settings.MaxFile},
                                int64_t{settings.MinFile}, int64_t{settings.AfterRun},
                                std::string_view(settings.AfterPath),
                                int64_t{static_cast<int16_t>(settings.Method)},
                                int64_t{static_cast<int16_t>(settings.FsAllowance)});
        !status.ok())
        return status;
    if (Status status = WritePlan(db, items); !status.ok())
        return status;
    return transaction.commit();
}

// What the reader below refuses, refused before anything is written: a file
// the program writes must open again.
Status CheckLoadable(const std::vector<ProjectItem>& items, const RunSettings& settings) {
    const auto refuse = [](const std::string& what) {
        return Status(std::make_error_code(std::errc::invalid_argument), what);
    };
    const auto badText = [](const std::string& text) {
        return text.size() > static_cast<std::size_t>(kMaxFieldBytes) ||
               text.find('\0') != std::string::npos;
    };
    const auto badSize = [](double size) { return !(size >= 0 && size < kSizeLimit); };
    const std::string textRule =
        " is longer than a project file holds (1 MiB) or holds a zero byte";
    if (items.size() > static_cast<std::size_t>(kMaxProjectItems))
        return refuse(std::to_string(items.size()) + " items are more than the " +
                      std::to_string(kMaxProjectItems) + " a project holds");
    // An item without members writes no row: one after it would come back
    // with an item number that skips one.
    std::optional<std::size_t> firstEmpty;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ProjectItem& item = items[i];
        const std::string which =
            "item " + std::to_string(i + 1) + " '" + Shortened(item.name) + "'";
        if (item.members.empty() && !firstEmpty)
            firstEmpty = i;
        if (!item.members.empty() && firstEmpty)
            return refuse("item " + std::to_string(*firstEmpty + 1) +
                          " has no files, and items with files follow it");
        if (badText(item.name))
            return refuse(which + ": its name" + textRule);
        if (item.medium < 0)
            return refuse(which + ": its medium number is below 0");
        // A placed item without files has no row to carry its medium.
        if (item.medium != 0 && item.members.empty())
            return refuse(which + ": it is placed but has no files");
        for (const ProjectMember& member : item.members) {
            if (badText(member.path))
                return refuse(which + ": the path '" + Shortened(member.path) + "'" + textRule);
            if (badSize(member.size))
                return refuse(which + ": the size of '" + Shortened(member.path) +
                              "' is no number of bytes from 0 to 2^53");
        }
    }
    if (badText(settings.MediaSize) || badText(settings.AfterPath))
        return refuse("the media size or the after-run folder" + textRule);
    if (badSize(settings.DiffSize))
        return refuse("the tolerance is no number of bytes from 0 to 2^53");
    return {};
}

// Reads the fields of the current row for the program. Where a value does
// not convert, or would have to be rounded or clamped to fit, the load fails
// naming the row and the field: a rounded item number merges two items, and a
// negative medium number hides its item from every list.
class FieldReader {
  public:
    FieldReader(const Statement& row, std::string where) : row_(row), where_(std::move(where)) {}

    // A size in bytes: from 0 to below 2^53, where doubles stop counting bytes.
    double Size(int column, const char* field) const {
        const double number = ToNumber(column, field);
        if (!std::isfinite(number) || number < 0) {
            throw ProjectFileError(PlatformError::OutOfRange(),
                                   Is(column, field) + ", not a number of 0 or more");
        }
        if (number >= kSizeLimit) {
            throw ProjectFileError(PlatformError::Overflow(),
                                   Is(column, field) + ", not below 2^53 bytes");
        }
        return number;
    }

    // A number that stands for one of a choice of values, as `convert` knows them.
    template <typename Choice>
    Choice OneOf(int column, const char* field, Choice (*convert)(int16_t)) const {
        const auto number = static_cast<int16_t>(WholeNumber(column, field, INT16_MIN, INT16_MAX));
        try {
            return convert(number);
        } catch (const PlatformError& error) {
            throw ProjectFileError(error,
                                   Is(column, field) + ", not one of the values the program knows");
        }
    }

    int32_t WholeNumber(int column, const char* field, int64_t low, int64_t high) const {
        const double number = ToNumber(column, field);
        if (number != std::floor(number)) {
            throw ProjectFileError(PlatformError::TypeMismatch(),
                                   Is(column, field) + ", not a whole number");
        }
        if (number < INT32_MIN || number > INT32_MAX) {
            throw ProjectFileError(PlatformError::Overflow(), Is(column, field) + ", out of range");
        }
        if (number < static_cast<double>(low) || number > static_cast<double>(high)) {
            throw ProjectFileError(PlatformError::OutOfRange(), Is(column, field) + ", not from " +
                                                                    std::to_string(low) + " to " +
                                                                    std::to_string(high));
        }
        return static_cast<int32_t>(number);
    }

    // No path or name holds a zero byte: the system and the program's own
    // statements would take the text as ending there.
    std::string Text(int column, const char* field) const {
        std::string text;
        switch (row_.columnKind(column)) {
            case ColumnKind::Null:
                throw ProjectFileError(PlatformError::InvalidUseOfNull(),
                                       where_ + ": " + field + " holds no text");
            case ColumnKind::Integer:
                text = std::to_string(row_.columnInt(column));
                break;
            case ColumnKind::Real:
                text = NumberText(row_.columnDouble(column));
                break;
            default:
                text = row_.columnText(column);
        }
        if (text.find('\0') != std::string::npos) {
            throw ProjectFileError(PlatformError::TypeMismatch(),
                                   where_ + ": " + field + " holds a zero byte");
        }
        return text;
    }

  private:
    // A number stored as text converts like the number itself; blanks around
    // it do not count.
    double ToNumber(int column, const char* field) const {
        switch (row_.columnKind(column)) {
            case ColumnKind::Integer:
                return static_cast<double>(row_.columnInt(column));
            case ColumnKind::Real:
                return row_.columnDouble(column);
            case ColumnKind::Null:
                throw ProjectFileError(PlatformError::InvalidUseOfNull(),
                                       where_ + ": " + field + " holds no number");
            default:
                break;
        }
        std::string_view text = row_.columnText(column);
        while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
            text.remove_prefix(1);
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
            text.remove_suffix(1);
        double value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error == std::errc::result_out_of_range)
            throw ProjectFileError(PlatformError::Overflow(),
                                   where_ + ": " + field + " holds no number");
        if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
            throw ProjectFileError(PlatformError::TypeMismatch(),
                                   where_ + ": " + field + " holds no number");
        return value;
    }

    std::string Is(int column, const char* field) const {
        const ColumnKind kind = row_.columnKind(column);
        const std::string value =
            kind == ColumnKind::Integer ? std::to_string(row_.columnInt(column))
            : kind == ColumnKind::Real  ? NumberText(row_.columnDouble(column))
                                        : Shortened(std::string(row_.columnText(column)));
        return where_ + ": " + field + " is " + value;
    }

    const Statement& row_;
    std::string where_;
};

bool SameColumnName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// How a file holds one of the program's tables.
enum class TableShape { Absent, Plain, Foreign };

// A view or a virtual table in a table's place would run queries of the
// file's own making, and a generated column expressions of its own: only a
// plain table with the first `required` columns of its definition is taken.
// `present` receives which of the definition's columns it has.
TableShape ShapeOf(Database& db, const Table& table, std::size_t required,
                   std::vector<bool>* present = nullptr) {
    Statement entry;
    if (!db.prepare("SELECT count(*), coalesce(sum([type] = 'table' AND [sql] LIKE 'CREATE "
                    "TABLE%'), 0) FROM sqlite_master WHERE [name] = ? COLLATE NOCASE",
                    entry)
             .ok() ||
        !entry.bind(1, std::string_view(table.name)).ok() || entry.step() != StepResult::Row)
        return TableShape::Foreign;
    if (entry.columnInt(0) == 0)
        return TableShape::Absent;
    if (entry.columnInt(0) != 1 || entry.columnInt(1) != 1)
        return TableShape::Foreign;

    Statement columns;
    if (!db.prepare("SELECT [name], coalesce([hidden], 0) FROM pragma_table_xinfo(?)", columns)
             .ok() ||
        !columns.bind(1, std::string_view(table.name)).ok())
        return TableShape::Foreign;
    std::vector<bool> found(table.columns.size(), false);
    StepResult step;
    while ((step = columns.step()) == StepResult::Row) {
        if (columns.columnInt(1) != 0)
            return TableShape::Foreign;
        const std::string_view column = columns.columnText(0);
        for (std::size_t i = 0; i < found.size(); ++i) {
            if (SameColumnName(column, table.columns[i].name))
                found[i] = true;
        }
    }
    if (step == StepResult::Error ||
        !std::all_of(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(required),
                     [](bool is) { return is; }))
        return TableShape::Foreign;
    if (present != nullptr)
        *present = std::move(found);
    return TableShape::Plain;
}

// Reading a project takes about one step per byte of its file, whatever the
// rows hold; the budget leaves ample room above that, and the base lets small
// files read their schema and empty tables.
constexpr int64_t kLoadStepsPerByte = 20;
constexpr int64_t kLoadBaseSteps = 10'000'000;

// What one load may cost. A real project's cost grows with its file; a
// file that asks for more is no project file, however small it is.
CostLimits LoadCostLimits(const std::string& path) {
    std::error_code error;
    const auto bytes = std::filesystem::file_size(path, error);
    return {kMaxFieldBytes,
            kLoadBaseSteps + kLoadStepsPerByte * (error ? 0 : static_cast<int64_t>(bytes))};
}

// Any failure of a statement on a file being read means it is no project
// the program can read; the reason is of no use to anyone.
struct Unreadable {};

void Check(const Status& status) {
    if (!status.ok())
        throw Unreadable{};
}

int64_t Pragma(Database& db, const char* statement) {
    Statement pragma;
    Check(db.prepare(statement, pragma));
    if (pragma.step() != StepResult::Row)
        throw Unreadable{};
    return pragma.columnInt(0);
}

// Whether `name` is a table that files without a layout version held: the
// items, the settings, the run's group table and two tables per medium.
bool UnversionedTableName(std::string_view name) {
    if (SameColumnName(name, "MainDB") || SameColumnName(name, "SetUp") ||
        SameColumnName(name, "GP"))
        return true;
    if (name.size() < 5 || !SameColumnName(name.substr(0, 5), "DISC_"))
        return false;
    name.remove_prefix(5);
    const std::size_t digits = name.find_first_not_of("0123456789");
    if (digits == 0 || digits == std::string_view::npos)
        return false;
    name.remove_prefix(digits);
    return SameColumnName(name, "_ID") || SameColumnName(name, "_SIZE");
}

// A file without a layout version has no checksum to show damage, so it is
// taken only when SQLite finds its pages whole and it holds no table those
// files never had: tables of a later layout hidden by damage to its schema
// leave pages that nothing uses, or a table by another name.
void CheckUnversioned(Database& db) {
    Statement check;
    Check(db.prepare("PRAGMA integrity_check(1)", check));
    if (check.step() != StepResult::Row)
        throw Unreadable{};
    if (std::string_view verdict = check.columnText(0); verdict != "ok") {
        // SQLite heads its finding with the name of the database.
        verdict.remove_prefix(verdict.find_last_of('\n') + 1);
        throw ProjectFileError(PlatformError::PathAccess(),
                               "the file is damaged: " + std::string(verdict));
    }
    Statement tables;
    Check(
        db.prepare("SELECT [name] FROM sqlite_master WHERE [name] NOT LIKE 'sqlite\\_%' "
                   "ESCAPE '\\'",
                   tables));
    StepResult step;
    while ((step = tables.step()) == StepResult::Row) {
        if (const std::string_view name = tables.columnText(0); !UnversionedTableName(name)) {
            throw ProjectFileError(PlatformError::PathAccess(),
                                   "the file is damaged: it holds '" + std::string(name) +
                                       "', which files without a layout version never held");
        }
    }
    if (step == StepResult::Error)
        throw Unreadable{};
}

// Rows of equal GROUP keep the order they were written in: the order of an
// item's members. The row number names a row in messages. Each row is checked
// as it comes, so a file refused at its first bad row costs no more than the
// rows before it.
std::vector<ProjectItem> ReadItems(Database& db) {
    std::vector<ProjectItem> items;
    Statement rows;
    Check(
        db.prepare("SELECT ROWID, [PATH], [SIZE], [GROUP], [GROUPNAME], [CDNUMBER] FROM "
                   "[MainDB] ORDER BY [GROUP], ROWID",
                   rows));
    StepResult step;
    while ((step = rows.step()) == StepResult::Row) {
        const std::string where = "MainDB row " + std::to_string(rows.columnInt(0));
        const FieldReader row(rows, where);
        const int32_t group = row.WholeNumber(3, "GROUP", 0, kLastItemNumber);
        ProjectMember member{row.Text(1, "PATH"), row.Size(2, "SIZE")};
        std::string name = row.Text(4, "GROUPNAME");
        const int32_t medium = row.WholeNumber(5, "CDNUMBER", 0, INT32_MAX);
        // Item numbers are list positions; one that skips a value has no
        // item to belong to.
        const auto count = static_cast<int64_t>(items.size());
        if (group == count) {
            items.push_back({std::move(name), medium, {}});
        } else if (group != count - 1) {
            throw ProjectFileError(PlatformError::OutOfRange(),
                                   where + ": GROUP is " + std::to_string(group) +
                                       ", where item number " + std::to_string(count) +
                                       " comes next");
        }
        items.back().members.push_back(std::move(member));
    }
    if (step == StepResult::Error)
        throw Unreadable{};
    return items;
}

// The plan of a file of this layout, into a copy of the items: Plan names
// each placed item once, and CDNUMBER of every row must say the same.
// Whether it does is the caller's to judge, through the checksum.
std::vector<ProjectItem> WithStoredPlan(Database& db, std::vector<ProjectItem> items,
                                        bool& agrees) {
    std::vector<int32_t> media(items.size(), 0);
    Statement rows;
    Check(db.prepare("SELECT ROWID, [MEDIUM], [ITEM] FROM [Plan]", rows));
    StepResult step;
    while ((step = rows.step()) == StepResult::Row) {
        const FieldReader row(rows, "Plan row " + std::to_string(rows.columnInt(0)));
        const int32_t medium = row.WholeNumber(1, "MEDIUM", 1, INT32_MAX);
        const int32_t item = row.WholeNumber(2, "ITEM", 0, static_cast<int64_t>(items.size()) - 1);
        if (media[item] != 0)
            agrees = false;
        media[item] = medium;
    }
    if (step == StepResult::Error)
        throw Unreadable{};
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].medium != media[i])
            agrees = false;
        items[i].medium = media[i];
    }
    return items;
}

std::string StoredChecksum(Database& db) {
    Statement row;
    Check(db.prepare("SELECT [SHA256] FROM [Integrity]", row));
    std::string checksum;
    int count = 0;
    StepResult step;
    while ((step = row.step()) == StepResult::Row && ++count == 1)
        checksum = row.columnText(0);
    if (step == StepResult::Error)
        throw Unreadable{};
    return count == 1 ? checksum : std::string();
}

void ReadSettings(Database& db, RunSettings& s, const std::vector<bool>& present) {
    Statement rows;
    // Files written before there was a choice of method or of the file
    // system's allowance have no columns for them, the last two.
    const bool hasMethod = present[7];
    const bool hasAllowance = present[8];
    Check(db.prepare(std::string("SELECT [MEDIASIZE], [SIZEDIFF], [MEDIANUM], [MAXFILE], "
                                 "[MINFILE], [AFTERFLG], [AFTERPATH], ") +
                         (hasMethod ? "[METHOD]" : "NULL") + ", " +
                         (hasAllowance ? "[FSALLOW]" : "NULL") + " FROM [SetUp]",
                     rows));
    const StepResult step = rows.step();
    if (step == StepResult::Error)
        throw Unreadable{};
    if (step == StepResult::Done)
        return;
    const FieldReader row(rows, "SetUp");
    s.MediaSize = row.Text(0, "MEDIASIZE");
    s.DiffSize = row.Size(1, "SIZEDIFF");
    s.MediaNum = static_cast<int16_t>(row.WholeNumber(2, "MEDIANUM", 0, INT16_MAX));
    s.MaxFile = static_cast<int16_t>(row.WholeNumber(3, "MAXFILE", 0, INT16_MAX));
    s.MinFile = static_cast<int16_t>(row.WholeNumber(4, "MINFILE", 0, INT16_MAX));
    s.AfterRun = static_cast<int16_t>(row.WholeNumber(5, "AFTERFLG", INT16_MIN, INT16_MAX));
    s.AfterPath = row.Text(6, "AFTERPATH");
    // Files without the method's column pack medium after medium.
    s.Method =
        hasMethod ? row.OneOf(7, "METHOD", PackingMethodFromNumber) : PackingMethod::Sequential;
    // Plans made before the allowance leave no room for a file system.
    s.FsAllowance = hasAllowance ? row.OneOf(8, "FSALLOW", FileSystemAllowanceFromNumber)
                                 : FileSystemAllowance::None;
}

std::optional<ProjectData> ReadOpened(Database& db, const RunSettings& current,
                                      bool allowMismatch) {
    const int64_t version = Pragma(db, "PRAGMA user_version");
    if (version < 0 || version > kProjectFileVersion) {
        throw ProjectFileError(PlatformError::OutOfRange(),
                               "the file has layout version " + std::to_string(version) +
                                   "; this build reads versions 0 to " +
                                   std::to_string(kProjectFileVersion));
    }
    std::vector<bool> setUpColumns;
    const TableShape setUpShape = ShapeOf(db, kSetUp, kSetUp.columns.size() - 2, &setUpColumns);
    if (ShapeOf(db, kMainDB, kMainDB.columns.size()) != TableShape::Plain ||
        setUpShape == TableShape::Foreign)
        return std::nullopt;
    // A file of this layout is known by its tables as well as by its
    // version, so that damage to the version alone does not pass for a file
    // without a checksum.
    const TableShape planShape = ShapeOf(db, kPlan, kPlan.columns.size());
    const TableShape integrityShape = ShapeOf(db, kIntegrity, kIntegrity.columns.size());
    const bool versioned = version >= 1 ||
                           Pragma(db, "PRAGMA application_id") == kVersionedProjectApplicationId ||
                           planShape != TableShape::Absent || integrityShape != TableShape::Absent;
    if (versioned && (planShape != TableShape::Plain || integrityShape != TableShape::Plain))
        return std::nullopt;
    if (!versioned)
        CheckUnversioned(db);

    ProjectData data;
    data.items = ReadItems(db);
    if (versioned) {
        bool agrees = true;
        data.items = WithStoredPlan(db, std::move(data.items), agrees);
        data.checksumMismatch = !agrees || StoredChecksum(db) != Checksum(data.items);
        if (data.checksumMismatch && !allowMismatch)
            throw ChecksumMismatchError();
    }
    data.settings = current;
    if (setUpShape == TableShape::Plain)
        ReadSettings(db, data.settings, setUpColumns);
    return data;
}

}  // namespace

ChecksumMismatchError::ChecksumMismatchError()
    : ProjectFileError(PlatformError::PathAccess(),
                       "the file's contents do not match its checksum") {}

Status ProjectFile::CheckPath(const std::string& path) {
    if (path.empty())
        return {std::make_error_code(std::errc::invalid_argument), "an empty path names no file"};
    std::error_code ignored;
    const std::string full = std::filesystem::absolute(path, ignored).string();
    if (full.size() > kMaxProjectPathBytes) {
        return {std::make_error_code(std::errc::filename_too_long),
                "the path of '" + Shortened(full) + "' is " + std::to_string(full.size()) +
                    " bytes long; SQLite opens project files of at most " +
                    std::to_string(kMaxProjectPathBytes) + " bytes"};
    }
    return {};
}

bool ProjectFile::Write(const std::string& name, const std::vector<ProjectItem>& items,
                        const RunSettings& settings, Status* why) {
    // A project reached through a link is locked, built and replaced beside
    // the file the link leads to, where SQLite keeps its journals.
    std::string path;
    Status status = CheckPath(name);
    if (status.ok()) {
        status = FinalTarget(name, path);
    }
    const std::string saving = SavingPath(path);
    FileLock lock(path);
    if (status.ok()) {
        status = lock.Take();
    }
    if (status.ok() && IsReadOnlyFile(path)) {
        status = ReadOnlyFailure(path);
    }
    // Left behind by a save that was cut short.
    if (status.ok()) {
        status = ClearSideFile(saving);
    }
    if (status.ok()) {
        status = Create(saving, items, settings);
    }
    if (status.ok()) {
        status = PlaceDatabaseFile(saving, path);
        if (!status.ok() && status.code() != FileError::NotSynced) {
            static_cast<void>(RemoveDatabaseFile(saving));
        }
    }
    // The file in place is the new one even when its folder was not synced.
    const bool written = status.ok() || status.code() == FileError::NotSynced;
    if (why != nullptr) {
        *why = std::move(status);
    }
    return written;
}

Status ProjectFile::Create(const std::string& path, const std::vector<ProjectItem>& items,
                           const RunSettings& settings) {
    if (Status status = CheckLoadable(items, settings); !status.ok()) {
        return {status.code(), "cannot write '" + path + "': " + status.message()};
    }
    Database db;
    if (Status status = db.open(path, OpenMode::Create); !status.ok())
        return status;
    // The failure names the file: "cannot write 'P': disk I/O error".
    Status status = WriteRows(db, items, settings);
    db.close();
    if (!status.ok()) {
        static_cast<void>(RemoveDatabaseFile(path));
        return {status.code(), "cannot write " + status.message()};
    }
    return {};
}

std::optional<ProjectData> ProjectFile::Read(const std::string& path, const RunSettings& current,
                                             bool allowMismatch) {
    if (const Status usable = CheckPath(path); !usable.ok()) {
        throw ProjectFileError(PlatformError::PathAccess(), usable.message());
    }
    if (!StartsAsDatabase(path)) {
        return std::nullopt;
    }
    Database db;
    // Opened for writing, as any use of SQLite's does, so that a journal left
    // by a writer that was cut off is rolled back rather than refused.
    if (const Status opened = db.open(path, OpenMode::ReadWrite, LoadCostLimits(path));
        !opened.ok()) {
        if (opened.code() == FileError::InUse) {
            throw ProjectFileError(PlatformError::PermissionDenied(),
                                   "in use by another program: " + opened.message());
        }
        return std::nullopt;
    }
    try {
        return ReadOpened(db, current, allowMismatch);
    } catch (const Unreadable&) {
        return std::nullopt;
    }
}

}  // namespace zv
