#include "core/project/ProjectFile.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>

#include "core/db/AccessDB.h"
#include "core/db/CostLimits.h"
#include "core/db/DatabaseFile.h"
#include "core/db/ProjectSideFiles.h"
#include "core/db/RecordSet.h"
#include "core/db/SqlText.h"
#include "core/platform/AtomicReplace.h"
#include "core/platform/FileError.h"
#include "core/platform/FileLock.h"
#include "core/platform/PlatformError.h"
#include "core/project/DefaultRunSettings.h"

namespace zv {

namespace {

TableDef MainDBTable() {
    return {"MainDB",
            {{"PATH", ColumnType::WChar, 255},
             {"SIZE", ColumnType::Double, 0},
             {"GROUP", ColumnType::Integer, 0},
             {"GROUPNAME", ColumnType::WChar, 255},
             {"RATE", ColumnType::Integer, 0},
             {"PRIORITY", ColumnType::Integer, 0},
             {"CDNUMBER", ColumnType::Integer, 0}}};
}

TableDef SetUpTable() {
    return {"SetUp",
            {{"MEDIASIZE", ColumnType::WChar, 50},
             {"SIZEDIFF", ColumnType::Double, 0},
             {"MEDIANUM", ColumnType::Integer, 0},
             {"MAXFILE", ColumnType::Integer, 0},
             {"MINFILE", ColumnType::Integer, 0},
             {"AFTERFLG", ColumnType::Integer, 0},
             {"AFTERPATH", ColumnType::WChar, 255},
             {"METHOD", ColumnType::Integer, 0},
             {"FSALLOW", ColumnType::Integer, 0}}};
}

bool HasField(const RecordSet& rows, const std::string& name) {
    for (int i = 0; i < rows.FieldCount(); ++i) {
        if (rows.FieldName(i) == name)
            return true;
    }
    return false;
}

// A row that is not written would silently drop a file from the project, so
// every statement must succeed.
Status WriteRows(AccessDB& db, const std::vector<ProjectItem>& items, const RunSettings& settings) {
    if (Status status = db.BeginTrans(); !status.ok()) {
        return status;
    }
    if (Status status =
            db.Execute("PRAGMA application_id = " + std::to_string(kProjectApplicationId));
        !status.ok()) {
        return status;
    }
    int counter = 0;
    for (const ProjectItem& item : items) {
        const std::string tail = "," + std::to_string(counter) + ",'" + SqlQuote(item.name) + "'" +
                                 ",0,0," + std::to_string(item.medium) + ")";
        for (const ProjectMember& member : item.members) {
            if (Status status = db.Execute("INSERT INTO [MainDB] VALUES('" + SqlQuote(member.path) +
                                           "', " + SqlExactNumber(member.size) + tail);
                !status.ok()) {
                return status;
            }
        }
        ++counter;
    }
    if (Status status = db.Execute(
            "INSERT INTO [SetUp] VALUES('" + SqlQuote(settings.MediaSize) + "', " +
            SqlExactNumber(settings.DiffSize) + ", " + std::to_string(settings.MediaNum) + ", " +
            std::to_string(settings.MaxFile) + ", " + std::to_string(settings.MinFile) + ", " +
            std::to_string(settings.AfterRun) + ", '" + SqlQuote(settings.AfterPath) + "', " +
            std::to_string(static_cast<int16_t>(settings.Method)) + ", " +
            std::to_string(static_cast<int16_t>(settings.FsAllowance)) + ")");
        !status.ok()) {
        return status;
    }
    return db.CommitTrans();
}

// Item numbers are list positions, and a project holds at most 32,767 items.
constexpr int kLastItemNumber = 32766;
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
    if (items.size() > static_cast<std::size_t>(kLastItemNumber) + 1)
        return refuse(std::to_string(items.size()) +
                      " items are more than the 32,767 a project holds");
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

// Reads one field of the current row for the program. Where the value does
// not convert, or would have to be rounded or clamped to fit, the load fails
// naming the row and the field: a rounded item number merges two items, and a
// negative medium number hides its item from every list.
class FieldReader {
  public:
    FieldReader(const RecordSet& rows, std::string row) : rows_(rows), row_(std::move(row)) {}

    // A size in bytes: from 0 to below 2^53, where doubles stop counting bytes.
    double Size(const std::string& field) const {
        const FieldValue& value = rows_.Field(field);
        const double number = ToNumber(field, value);
        if (!std::isfinite(number) || number < 0) {
            throw ProjectFileError(PlatformError::OutOfRange(),
                                   Is(field, value) + ", not a number of 0 or more");
        }
        if (number >= kSizeLimit) {
            throw ProjectFileError(PlatformError::Overflow(),
                                   Is(field, value) + ", not below 2^53 bytes");
        }
        return number;
    }

    // A number that stands for one of a choice of values, as `convert` knows them.
    template <typename Choice>
    Choice OneOf(const std::string& field, Choice (*convert)(int16_t)) const {
        const int16_t number = WholeNumber(field, INT16_MIN, INT16_MAX);
        try {
            return convert(number);
        } catch (const PlatformError& error) {
            throw ProjectFileError(
                error, Is(field, rows_.Field(field)) + ", not one of the values the program knows");
        }
    }

    int16_t WholeNumber(const std::string& field, int low, int high) const {
        const FieldValue& value = rows_.Field(field);
        const double number = ToNumber(field, value);
        if (number != std::floor(number)) {
            throw ProjectFileError(PlatformError::TypeMismatch(),
                                   Is(field, value) + ", not a whole number");
        }
        if (number < INT16_MIN || number > INT16_MAX) {
            throw ProjectFileError(PlatformError::Overflow(), Is(field, value) + ", out of range");
        }
        if (number < low || number > high) {
            throw ProjectFileError(PlatformError::OutOfRange(), Is(field, value) + ", not from " +
                                                                    std::to_string(low) + " to " +
                                                                    std::to_string(high));
        }
        return static_cast<int16_t>(number);
    }

    // No path or name holds a zero byte: the system and the program's own
    // statements would take the text as ending there.
    std::string Text(const std::string& field) const {
        std::string text;
        try {
            text = rows_.Field(field).ToText();
        } catch (const PlatformError& error) {
            throw ProjectFileError(error, row_ + ": " + field + " holds no text");
        }
        if (text.find('\0') != std::string::npos) {
            throw ProjectFileError(PlatformError::TypeMismatch(),
                                   row_ + ": " + field + " holds a zero byte");
        }
        return text;
    }

  private:
    double ToNumber(const std::string& field, const FieldValue& value) const {
        try {
            return value.ToDouble();
        } catch (const PlatformError& error) {
            throw ProjectFileError(error, row_ + ": " + field + " holds no number");
        }
    }

    std::string Is(const std::string& field, const FieldValue& value) const {
        return row_ + ": " + field + " is " + value.ToText();
    }

    const RecordSet& rows_;
    std::string row_;
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
TableShape ShapeOf(AccessDB& db, const TableDef& table, std::size_t required) {
    const std::string name = "'" + SqlQuote(table.name) + "'";
    const auto entry = db.Run(
        "SELECT count(*) AS [ENTRIES], coalesce(sum([type] = 'table' AND [sql] LIKE 'CREATE "
        "TABLE%'), 0) AS [PLAIN] FROM sqlite_master WHERE [name] = " +
            name + " COLLATE NOCASE",
        adOpenDynamic);
    if (!entry->IsOpen())
        return TableShape::Foreign;
    const double entries = entry->Field("ENTRIES").ToDouble();
    if (entries == 0)
        return TableShape::Absent;
    if (entries != 1 || entry->Field("PLAIN").ToDouble() != 1)
        return TableShape::Foreign;

    const auto columns = db.Run(
        "SELECT [name] AS [NAME], coalesce([hidden], 0) AS [HIDDEN] FROM pragma_table_xinfo(" +
            name + ")",
        adOpenDynamic);
    if (!columns->IsOpen())
        return TableShape::Foreign;
    std::size_t found = 0;
    for (; !columns->AtEnd(); columns->MoveNext()) {
        if (columns->Field("HIDDEN").ToDouble() != 0)
            return TableShape::Foreign;
        const std::string column = columns->Field("NAME").ToText();
        for (std::size_t i = 0; i < required && i < table.columns.size(); ++i) {
            if (SameColumnName(column, table.columns[i].name))
                ++found;
        }
    }
    return found == required ? TableShape::Plain : TableShape::Foreign;
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

}  // namespace

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

bool ProjectFile::Write(const std::string& path, const std::vector<ProjectItem>& items,
                        const RunSettings& settings, Status* why) {
    const std::string saving = SavingPath(path);
    FileLock lock(path);
    Status status = CheckPath(path);
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
    AccessDB db;
    db.SetPath(path);
    Status status = db.DBCreate(path, MainDBTable());
    if (status.ok()) {
        status = db.DBOpen("");
    }
    if (status.ok()) {
        status = db.TBCreate({SetUpTable()});
    }
    if (status.ok()) {
        status = WriteRows(db, items, settings);
    }
    db.DBClose();
    if (!status.ok()) {
        static_cast<void>(RemoveDatabaseFile(path));
        return {status.code(), "cannot write '" + path + "': " + status.message()};
    }
    return {};
}

std::optional<ProjectData> ProjectFile::Read(const std::string& path, const RunSettings& current) {
    if (const Status usable = CheckPath(path); !usable.ok()) {
        throw ProjectFileError(PlatformError::PathAccess(), usable.message());
    }
    if (!StartsAsDatabase(path)) {
        return std::nullopt;
    }
    AccessDB db;
    db.SetPath(path);
    db.LimitCost(LoadCostLimits(path));
    if (const Status opened = db.DBOpen(""); !opened.ok()) {
        if (opened.code() == FileError::InUse) {
            throw ProjectFileError(PlatformError::PermissionDenied(),
                                   "in use by another program: " + opened.message());
        }
        return std::nullopt;
    }
    const TableDef mainDB = MainDBTable();
    const TableDef setUpTable = SetUpTable();
    // Files written before there was a choice of method or of the file
    // system's allowance have no columns for them, the last two.
    const TableShape setUpShape = ShapeOf(db, setUpTable, setUpTable.columns.size() - 2);
    if (ShapeOf(db, mainDB, mainDB.columns.size()) != TableShape::Plain ||
        setUpShape == TableShape::Foreign) {
        return std::nullopt;
    }
    // Rows of equal GROUP keep the order they were written in: the order of an
    // item's members. The row number names a row in messages. Each row is
    // checked as it comes, so a file refused at its first bad row costs no
    // more than the rows before it.
    ProjectData data;
    const Status streamed =
        db.Stream("SELECT ROWID AS [ROWNUMBER], * FROM [MainDB] ORDER BY [GROUP], ROWID",
                  [&data](const RecordSet& rows) {
                      const std::string where = "MainDB row " + rows.Field("ROWNUMBER").ToText();
                      const FieldReader row(rows, where);
                      const int16_t group = row.WholeNumber("GROUP", 0, kLastItemNumber);
                      ProjectMember member{row.Text("PATH"), row.Size("SIZE")};
                      std::string name = row.Text("GROUPNAME");
                      const int16_t medium = row.WholeNumber("CDNUMBER", 0, INT16_MAX);
                      // Item numbers are list positions; one that skips a value has no
                      // item to belong to.
                      const auto count = static_cast<int>(data.items.size());
                      if (group == count) {
                          data.items.push_back({std::move(name), medium, {}});
                      } else if (group != count - 1) {
                          throw ProjectFileError(PlatformError::OutOfRange(),
                                                 where + ": GROUP is " + std::to_string(group) +
                                                     ", where item number " +
                                                     std::to_string(count) + " comes next");
                      }
                      data.items.back().members.push_back(std::move(member));
                  });
    if (!streamed.ok()) {
        return std::nullopt;
    }

    data.settings = current;
    if (setUpShape == TableShape::Absent) {
        return data;
    }
    const auto setUp = db.Run("SELECT * FROM [SetUp]", adOpenDynamic);
    if (!setUp->IsOpen()) {
        return std::nullopt;
    }
    if (!setUp->AtEnd()) {
        const FieldReader row(*setUp, "SetUp");
        RunSettings& s = data.settings;
        s.MediaSize = row.Text("MEDIASIZE");
        s.DiffSize = row.Size("SIZEDIFF");
        s.MediaNum = row.WholeNumber("MEDIANUM", 0, INT16_MAX);
        s.MaxFile = row.WholeNumber("MAXFILE", 0, INT16_MAX);
        s.MinFile = row.WholeNumber("MINFILE", 0, INT16_MAX);
        s.AfterRun = row.WholeNumber("AFTERFLG", INT16_MIN, INT16_MAX);
        s.AfterPath = row.Text("AFTERPATH");
        // Files without the method's column pack medium after medium.
        s.Method = HasField(*setUp, "METHOD") ? row.OneOf("METHOD", PackingMethodFromNumber)
                                              : PackingMethod::Sequential;
        // Plans made before the allowance leave no room for a file system.
        s.FsAllowance = HasField(*setUp, "FSALLOW")
                            ? row.OneOf("FSALLOW", FileSystemAllowanceFromNumber)
                            : FileSystemAllowance::None;
    }
    return data;
}

}  // namespace zv
