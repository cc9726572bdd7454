#include "core/project/ProjectFile.h"

#include <cmath>
#include <filesystem>

#include "core/db/AccessDB.h"
#include "core/db/RecordSet.h"
#include "core/db/SqlText.h"
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
             {"METHOD", ColumnType::Integer, 0}}};
}

bool HasField(const RecordSet& rows, const std::string& name) {
    for (int i = 0; i < rows.FieldCount(); ++i) {
        if (rows.FieldName(i) == name)
            return true;
    }
    return false;
}

// A row that is not written would silently drop a file from the project, so
// every statement must leave no failure behind.
bool Insert(AccessDB& db, const std::string& statement) {
    db.Run(statement, adOpenDynamic);
    std::string message;
    return db.LastErr(message).empty();
}

bool WriteRows(AccessDB& db, const std::vector<ProjectItem>& items, const RunSettings& settings) {
    if (!db.BeginTrans()) {
        return false;
    }
    int counter = 0;
    for (const ProjectItem& item : items) {
        const std::string tail = "," + std::to_string(counter) + ",'" + SqlQuote(item.name) + "'" +
                                 ",0,0," + std::to_string(item.medium) + ")";
        for (const ProjectMember& member : item.members) {
            if (!Insert(db, "INSERT INTO [MainDB] VALUES('" + SqlQuote(member.path) + "', " +
                                SqlNumber(member.size) + tail)) {
                return false;
            }
        }
        ++counter;
    }
    return Insert(db, "INSERT INTO [SetUp] VALUES('" + SqlQuote(settings.MediaSize) + "', " +
                          SqlNumber(settings.DiffSize) + ", " + std::to_string(settings.MediaNum) +
                          ", " + std::to_string(settings.MaxFile) + ", " +
                          std::to_string(settings.MinFile) + ", " +
                          std::to_string(settings.AfterRun) + ", '" + SqlQuote(settings.AfterPath) +
                          "', " + std::to_string(static_cast<int16_t>(settings.Method)) + ")") &&
           db.CommitTrans();
}

// Item numbers are list positions, and a project holds at most 32,767 items.
constexpr int kLastItemNumber = 32766;

// Reads one field of the current row for the program. Where the value does
// not convert, or would have to be rounded or clamped to fit, the load fails
// naming the row and the field: a rounded item number merges two items, and a
// negative medium number hides its item from every list.
class FieldReader {
  public:
    FieldReader(const RecordSet& rows, std::string row) : rows_(rows), row_(std::move(row)) {}

    double Number(const std::string& field) const {
        const FieldValue& value = rows_.Field(field);
        const double number = ToNumber(field, value);
        if (!std::isfinite(number) || number < 0) {
            throw ProjectFileError(PlatformError::OutOfRange(),
                                   Is(field, value) + ", not a number of 0 or more");
        }
        return number;
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

    std::string Text(const std::string& field) const {
        try {
            return rows_.Field(field).ToText();
        } catch (const PlatformError& error) {
            throw ProjectFileError(error, row_ + ": " + field + " holds no text");
        }
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

}  // namespace

bool ProjectFile::Write(const std::string& path, const std::vector<ProjectItem>& items,
                        const RunSettings& settings) {
    namespace fs = std::filesystem;
    const std::string saving = path + ".saving";
    std::error_code ignored;
    // Left behind by a save that was cut short.
    if (!fs::is_directory(saving, ignored)) {
        fs::remove(saving, ignored);
    }
    AccessDB db;
    db.SetPath(saving);
    if (!db.DBCreate(saving, MainDBTable())) {
        return false;
    }
    bool written = db.DBOpen("") && db.TBCreate({SetUpTable()}) && WriteRows(db, items, settings);
    db.DBClose();
    if (written) {
        std::error_code renamed;
        fs::rename(saving, path, renamed);
        written = !renamed;
    }
    if (!written) {
        fs::remove(saving, ignored);
    }
    return written;
}

std::optional<ProjectData> ProjectFile::Read(const std::string& path, const RunSettings& current) {
    AccessDB db;
    db.SetPath(path);
    if (!db.DBOpen("")) {
        return std::nullopt;
    }
    // Rows of equal GROUP keep the order they were written in: the order of an
    // item's members. The row number names a row in messages.
    const auto rows = db.Run("SELECT ROWID AS [ROWNUMBER], * FROM [MainDB] ORDER BY [GROUP], ROWID",
                             adOpenDynamic);
    if (!rows->IsOpen()) {
        return std::nullopt;
    }
    ProjectData data;
    for (; !rows->AtEnd(); rows->MoveNext()) {
        const std::string where = "MainDB row " + rows->Field("ROWNUMBER").ToText();
        const FieldReader row(*rows, where);
        const int16_t group = row.WholeNumber("GROUP", 0, kLastItemNumber);
        ProjectMember member{row.Text("PATH"), row.Number("SIZE")};
        std::string name = row.Text("GROUPNAME");
        const int16_t medium = row.WholeNumber("CDNUMBER", 0, INT16_MAX);
        // Item numbers are list positions; one that skips a value has no item
        // to belong to.
        const auto count = static_cast<int>(data.items.size());
        if (group == count) {
            data.items.push_back({std::move(name), medium, {}});
        } else if (group != count - 1) {
            throw ProjectFileError(PlatformError::OutOfRange(),
                                   where + ": GROUP is " + std::to_string(group) +
                                       ", where item number " + std::to_string(count) +
                                       " comes next");
        }
        data.items.back().members.push_back(std::move(member));
    }

    data.settings = current;
    const auto setUp = db.Run("SELECT * FROM [SetUp]", adOpenDynamic);
    if (setUp->IsOpen() && !setUp->AtEnd()) {
        const FieldReader row(*setUp, "SetUp");
        RunSettings& s = data.settings;
        s.MediaSize = row.Text("MEDIASIZE");
        s.DiffSize = row.Number("SIZEDIFF");
        s.MediaNum = row.WholeNumber("MEDIANUM", 0, INT16_MAX);
        s.MaxFile = row.WholeNumber("MAXFILE", 0, INT16_MAX);
        s.MinFile = row.WholeNumber("MINFILE", 0, INT16_MAX);
        s.AfterRun = row.WholeNumber("AFTERFLG", INT16_MIN, INT16_MAX);
        s.AfterPath = row.Text("AFTERPATH");
        // Files written before there was a choice of method have no column
        // for it; they pack medium after medium.
        s.Method = HasField(*setUp, "METHOD")
                       ? PackingMethodFromNumber(row.WholeNumber("METHOD", INT16_MIN, INT16_MAX))
                       : PackingMethod::Sequential;
    }
    return data;
}

}  // namespace zv
