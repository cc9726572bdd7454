#include "core/project/ProjectFile.h"

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
    // item's members.
    const auto rows = db.Run("SELECT * FROM [MainDB] ORDER BY [GROUP], ROWID", adOpenDynamic);
    if (!rows->IsOpen()) {
        return std::nullopt;
    }
    ProjectData data;
    for (; !rows->AtEnd(); rows->MoveNext()) {
        const int16_t group = rows->Field("GROUP").ToInt16();
        ProjectMember member{rows->Field("PATH").ToText(), rows->Field("SIZE").ToDouble()};
        std::string name = rows->Field("GROUPNAME").ToText();
        const int16_t medium = rows->Field("CDNUMBER").ToInt16();
        // Item numbers are list positions; one that skips a value has no item
        // to belong to.
        const auto count = static_cast<int>(data.items.size());
        if (group == count) {
            data.items.push_back({std::move(name), medium, {}});
        } else if (count == 0 || group != count - 1) {
            throw PlatformError::OutOfRange();
        }
        data.items.back().members.push_back(std::move(member));
    }

    data.settings = current;
    const auto setUp = db.Run("SELECT * FROM [SetUp]", adOpenDynamic);
    if (setUp->IsOpen() && !setUp->AtEnd()) {
        RunSettings& s = data.settings;
        s.MediaSize = setUp->Field("MEDIASIZE").ToText();
        s.DiffSize = setUp->Field("SIZEDIFF").ToDouble();
        s.MediaNum = setUp->Field("MEDIANUM").ToInt16();
        s.MaxFile = setUp->Field("MAXFILE").ToInt16();
        s.MinFile = setUp->Field("MINFILE").ToInt16();
        s.AfterRun = setUp->Field("AFTERFLG").ToInt16();
        s.AfterPath = setUp->Field("AFTERPATH").ToText();
        // Files written before there was a choice of method have no column
        // for it; they pack medium after medium.
        s.Method = HasField(*setUp, "METHOD")
                       ? PackingMethodFromNumber(setUp->Field("METHOD").ToInt16())
                       : PackingMethod::Sequential;
    }
    return data;
}

}  // namespace zv
