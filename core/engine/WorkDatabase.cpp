#include "core/engine/WorkDatabase.h"

#include <filesystem>
#include <system_error>

#include "core/db/AccessDB.h"
#include "core/db/SqlText.h"
#include "core/platform/PlatformError.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace fs = std::filesystem;

namespace {

const char* const kItemTable = "GP";

// Indexes that keep the many small lookups of a run from scanning whole tables.
// They exist only while the run works and are dropped before the work
// database takes the project file's place.
const char* const kCreateIndexes[] = {
    "CREATE INDEX IF NOT EXISTS [RUN_GROUP] ON [MainDB] ([GROUP])",
};
const char* const kCreateItemIndexes[] = {
    "CREATE INDEX IF NOT EXISTS [RUN_GID] ON [GP] ([GID])",
    // Items of equal size come in item order.
    "CREATE INDEX IF NOT EXISTS [RUN_GSIZE] ON [GP] ([GSIZE] DESC, [GID])",
};
const char* const kDropIndexes[] = {
    "DROP INDEX IF EXISTS [RUN_GROUP]",
    "DROP INDEX IF EXISTS [RUN_GID]",
    "DROP INDEX IF EXISTS [RUN_GSIZE]",
};

bool OpenWork(AccessDB& db, const RunParameters& params) {
    db.SetPath(params.WorkDatabasePath());
    return db.DBOpen("");
}

void RemoveQuietly(const std::string& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
}

bool RenameIfFree(const std::string& from, const std::string& to) {
    std::error_code error;
    if (fs::exists(to, error))
        return false;
    fs::rename(from, to, error);
    return !error;
}

}  // namespace

WorkDatabase::WorkDatabase(const RunParameters& params, RunDisplay& display)
    : params_(params), display_(display) {}

void WorkDatabase::CreateWorkDatabase() {
    std::error_code error;
    fs::copy_file(params_.ProjectFilePath(), params_.WorkDatabasePath(),
                  fs::copy_options::overwrite_existing, error);
    if (error)
        throw PlatformError::PathAccess();
}

bool WorkDatabase::PrepareItemTable() {
    AccessDB db;
    if (!OpenWork(db, params_)) {
        display_.Message(40026);
        return false;
    }
    TableDef gp{kItemTable, {{"GID", ColumnType::Integer, 0}, {"GSIZE", ColumnType::Double, 0}}};
    if (!db.TBCreate({gp})) {
        display_.Message(40027);
        return false;
    }
    for (const char* statement : kCreateIndexes)
        db.Run(statement, adOpenDynamic);

    const std::string& items = params_.itemTableName;
    auto highest = db.Run("SELECT * FROM [" + items + "] ORDER BY [GROUP] DESC", adOpenDynamic);
    if (!highest->IsOpen()) {
        display_.Message(40026);
        return false;
    }
    try {
        const int lastItem = highest->Field("GROUP").ToInt16();

        display_.ShowBar(1, true);
        display_.ShowBar(0, false);
        display_.SetBar(1, 0, lastItem, 0);
        display_.SetStatus(ResString(40043));

        db.BeginTrans();
        for (int g = 0; g <= lastItem; ++g) {
            auto sum = db.Run(
                "SELECT SUM([SIZE]) FROM [" + items + "] WHERE [GROUP] = " + std::to_string(g),
                adOpenDynamic);
            if (!sum->IsOpen()) {
                db.RollbackTrans();
                display_.Message(40026);
                return false;
            }
            const double size = sum->Field(0).ToDouble();
            db.Run("INSERT INTO [" + std::string(kItemTable) + "] VALUES(" + std::to_string(g) +
                       "," + SqlNumber(size) + ")",
                   adOpenDynamic);
            display_.SetValue(1, g);
            display_.Yield();
        }
        for (const char* statement : kCreateItemIndexes)
            db.Run(statement, adOpenDynamic);
        return db.CommitTrans();
    } catch (const PlatformError&) {
        // No rows at all, or an item number without rows: the run cannot start.
        db.RollbackTrans();
        return false;
    }
}

bool WorkDatabase::LoadItemSizes(std::vector<double>& itemSizes) {
    AccessDB db;
    if (!OpenWork(db, params_)) {
        display_.Message(40026);
        return false;
    }
    itemSizes.assign(1, -1);
    display_.SetValue(1, 0);
    display_.SetStatus(ResString(40044));

    auto rows = db.Run("SELECT * FROM [" + std::string(kItemTable) + "] ORDER BY [GSIZE] DESC",
                       adOpenDynamic);
    if (!rows->IsOpen()) {
        display_.Message(40026);
        return false;
    }
    if (rows->AtEnd())
        return false;

    for (int i = 0; !rows->AtEnd(); rows->MoveNext(), ++i) {
        const double size = rows->Field("GSIZE").ToDouble();
        if (itemSizes.front() <= -1) {
            itemSizes.front() = size;
        } else {
            itemSizes.push_back(size);
        }
        if (display_.Bar(1).max >= i)
            display_.SetValue(1, i);
        display_.Yield();
    }
    return true;
}

bool WorkDatabase::LoadItems(std::vector<int16_t>& itemNumbers, std::vector<double>& itemSizes) {
    AccessDB db;
    if (!OpenWork(db, params_)) {
        display_.Message(40026);
        return false;
    }
    itemNumbers.clear();
    itemSizes.clear();
    display_.SetStatus(ResString(40044));
    auto rows = db.Run("SELECT * FROM [" + std::string(kItemTable) + "] ORDER BY [GSIZE] DESC",
                       adOpenDynamic);
    if (!rows->IsOpen()) {
        display_.Message(40026);
        return false;
    }
    for (; !rows->AtEnd(); rows->MoveNext()) {
        itemNumbers.push_back(rows->Field("GID").ToInt16());
        itemSizes.push_back(rows->Field("GSIZE").ToDouble());
    }
    display_.Yield();
    return !itemNumbers.empty();
}

void WorkDatabase::CommitWorkDatabase() {
    DropSearchIndexes();
    const std::string project = params_.ProjectFilePath();
    const std::string work = params_.WorkDatabasePath();
    const std::string backup = params_.BackupPath();
    if (!RenameIfFree(project, backup)) {
        // The project file stays as it was; the results are lost.
        RemoveQuietly(work);
        return;
    }
    std::error_code error;
    fs::rename(work, project, error);
    if (error) {
        RemoveQuietly(work);
        fs::rename(backup, project, error);
        return;
    }
    RemoveQuietly(backup);
}

void WorkDatabase::DiscardWorkDatabase() {
    RemoveQuietly(params_.WorkDatabasePath());
}

void WorkDatabase::DropSearchIndexes() {
    AccessDB db;
    if (!OpenWork(db, params_))
        return;
    for (const char* statement : kDropIndexes)
        db.Run(statement, adOpenDynamic);
}

}  // namespace zv
