#include "core/engine/WorkDatabase.h"

#include <optional>

#include "core/db/AccessDB.h"
#include "core/db/DatabaseFile.h"
#include "core/db/ProjectSideFiles.h"
#include "core/db/SqlText.h"
#include "core/engine/EntryKind.h"
#include "core/engine/FileSystemAllowance.h"
#include "core/platform/AtomicReplace.h"
#include "core/platform/FileError.h"
#include "core/platform/PlatformError.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

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

// How the run's connection works with the file. None of these settings is
// kept in the file, so its format stays as it is. SQLite's syncs and journal
// file keep a database whole through a crash; the work database needs
// neither, since after a crash it is thrown away and before it takes the
// project file's place it is synced as a whole. Without them a medium costs
// no trip to the disk. SQLite reads through the whole schema whenever it adds
// a table, and the schema of a run of thousands of media outgrows the default
// cache.
const char* const kRunPragmas[] = {
    "PRAGMA synchronous = OFF",
    "PRAGMA journal_mode = MEMORY",
    // 32 MiB
    "PRAGMA cache_size = -32768",
};

}  // namespace

WorkDatabase::WorkDatabase(const RunParameters& params, RunDisplay& display)
    : params_(params), display_(display) {}

Status WorkDatabase::CreateWorkDatabase() {
    const std::string project = params_.ProjectFilePath();
    const std::string work = params_.WorkDatabasePath();
    if (Status status = RecoverProjectFile(project); !status.ok())
        return status;
    lock_.emplace(project);
    if (Status status = lock_->Take(); !status.ok())
        return status;
    if (IsReadOnlyFile(project))
        return ReadOnlyFailure(project);
    // A hot journal of the project belongs in the project, not in its copy.
    if (Status status = RecoverDatabase(project); !status.ok())
        return status;
    if (Status status = ClearSideFile(work); !status.ok())
        return status;
    Status copied = CopyToNewFile(project, work);
    created_ = copied.ok();
    return copied;
}

bool WorkDatabase::PrepareItemTable() {
    if (!OpenWork().ok()) {
        display_.Message(text_id::DatabaseOpenFailed);
        return false;
    }
    TableDef gp{kItemTable, {{"GID", ColumnType::Integer, 0}, {"GSIZE", ColumnType::Double, 0}}};
    bool made = db_.TBCreate({gp}).ok();
    for (const char* statement : kCreateIndexes)
        made = made && db_.Execute(statement).ok();
    if (!made) {
        display_.Message(text_id::UpdateFailed);
        return false;
    }

    const std::string& items = params_.itemTableName;
    auto highest = db_.Run("SELECT * FROM [" + items + "] ORDER BY [GROUP] DESC", adOpenDynamic);
    if (!highest->IsOpen()) {
        display_.Message(text_id::DatabaseOpenFailed);
        return false;
    }
    try {
        const int lastItem = highest->Field("GROUP").ToInt16();

        display_.ShowBar(1, true);
        display_.ShowBar(0, false);
        display_.SetBar(1, 0, lastItem, 0);
        display_.SetStatus(ResString(text_id::SortingItems));

        // With a file system's allowance the fewest-media method charges each
        // medium its image, from the member files; the sequential method
        // takes each item as what its files take on the medium, and every
        // medium keeps a reserve.
        std::optional<FileSystemEstimate> allowance;
        if (params_.fileSystem == FileSystemAllowance::Iso9660) {
            std::vector<MemberFile> files;
            if (!ReadMemberFiles(files)) {
                display_.Message(text_id::DatabaseOpenFailed);
                return false;
            }
            if (params_.method == PackingMethod::FewestMedia) {
                memberFiles_ = std::move(files);
            } else {
                allowance = EstimateIso9660(files, lastItem + 1, params_.mediaSize);
                mediumReserve_ = allowance->mediumReserve;
            }
        }

        if (!db_.BeginTrans().ok()) {
            display_.Message(text_id::UpdateFailed);
            return false;
        }
        for (int g = 0; g <= lastItem; ++g) {
            auto sum = db_.Run(
                "SELECT SUM([SIZE]) FROM [" + items + "] WHERE [GROUP] = " + std::to_string(g),
                adOpenDynamic);
            if (!sum->IsOpen())
                return Abandon(text_id::DatabaseOpenFailed);
            const double size =
                allowance ? allowance->itemSizes[static_cast<size_t>(g)] : sum->Field(0).ToDouble();
            if (!db_.Execute("INSERT INTO [" + std::string(kItemTable) + "] VALUES(" +
                             std::to_string(g) + "," + SqlNumber(size) + ")")
                     .ok())
                return Abandon(text_id::UpdateFailed);
            display_.SetValue(1, g);
            display_.Yield();
        }
        for (const char* statement : kCreateItemIndexes) {
            if (!db_.Execute(statement).ok())
                return Abandon(text_id::UpdateFailed);
        }
        if (!db_.CommitTrans().ok())
            return Abandon(text_id::UpdateFailed);
        return true;
    } catch (const PlatformError&) {
        // No rows at all, or an item number without rows: the run cannot start.
        // Closing the connection undoes what was begun.
        db_.DBClose();
        return false;
    }
}

bool WorkDatabase::ReadMemberFiles(std::vector<MemberFile>& files) {
    auto rows = db_.Run("SELECT [PATH], [SIZE], [GROUP] FROM [" + params_.itemTableName + "]",
                        adOpenDynamic);
    if (!rows->IsOpen())
        return false;
    // An empty folder or a link costs other records than a file of its size.
    for (; !rows->AtEnd(); rows->MoveNext()) {
        MemberFile file{rows->Field(2).ToInt16(),
                        rows->Field(0).ToText(),
                        rows->Field(1).ToDouble(),
                        EntryKind::File,
                        {}};
        file.kind = KindOnDisk(file.path, file.target);
        files.push_back(std::move(file));
    }
    return true;
}

bool WorkDatabase::LoadItemSizes(std::vector<double>& itemSizes) {
    itemSizes.assign(1, -1);
    display_.SetValue(1, 0);
    display_.SetStatus(ResString(text_id::ReadingItems));

    auto rows = db_.Run("SELECT * FROM [" + std::string(kItemTable) + "] ORDER BY [GSIZE] DESC",
                        adOpenDynamic);
    if (!rows->IsOpen()) {
        display_.Message(text_id::DatabaseOpenFailed);
        return false;
    }
    if (rows->AtEnd()) {
        itemSizes.clear();
        return true;
    }

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
    itemNumbers.clear();
    itemSizes.clear();
    display_.SetStatus(ResString(text_id::ReadingItems));
    auto rows = db_.Run("SELECT * FROM [" + std::string(kItemTable) + "] ORDER BY [GSIZE] DESC",
                        adOpenDynamic);
    if (!rows->IsOpen()) {
        display_.Message(text_id::DatabaseOpenFailed);
        return false;
    }
    for (; !rows->AtEnd(); rows->MoveNext()) {
        itemNumbers.push_back(rows->Field("GID").ToInt16());
        itemSizes.push_back(rows->Field("GSIZE").ToDouble());
    }
    display_.Yield();
    return true;
}

void WorkDatabase::Close() {
    db_.DBClose();
}

Status WorkDatabase::OpenWork() {
    db_.SetPath(params_.WorkDatabasePath());
    Status status = db_.DBOpen("");
    for (const char* pragma : kRunPragmas) {
        if (status.ok())
            status = db_.Execute(pragma);
    }
    if (!status.ok())
        db_.DBClose();
    return status;
}

bool WorkDatabase::Abandon(int message) {
    // Closing the connection undoes a transaction that cannot be rolled back.
    if (!db_.RollbackTrans().ok())
        db_.DBClose();
    display_.Message(message);
    return false;
}

Status WorkDatabase::CommitWorkDatabase() {
    DropSearchIndexes();
    Status status = PlaceDatabaseFile(params_.WorkDatabasePath(), params_.ProjectFilePath());
    if (!status.ok() && status.code() != FileError::NotSynced)
        DiscardWorkDatabase();
    return status;
}

void WorkDatabase::DiscardWorkDatabase() {
    // Without the lock the file at the work path is another run's.
    if (!created_ || !lock_ || !lock_->Held())
        return;
    // What cannot be removed now goes at the next run or opening.
    static_cast<void>(RemoveDatabaseFile(params_.WorkDatabasePath()));
}

// After the run's connection has closed. An index that stays behind does no
// harm: the project reader passes it by and the next run uses it again.
void WorkDatabase::DropSearchIndexes() {
    AccessDB db;
    db.SetPath(params_.WorkDatabasePath());
    if (!db.DBOpen("").ok())
        return;
    for (const char* statement : kDropIndexes) {
        if (!db.Execute(statement).ok())
            return;
    }
}

}  // namespace zv
