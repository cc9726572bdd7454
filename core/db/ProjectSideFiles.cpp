#include "core/db/ProjectSideFiles.h"

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/db/Database.h"
#include "core/db/DatabaseFile.h"
#include "core/db/Statement.h"
#include "core/platform/AtomicReplace.h"
#include "core/platform/FileLock.h"
#include "core/platform/FileOps.h"

namespace zv {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kHeaderBytes = 100;
constexpr char kDatabaseMagic[] = "SQLite format 3";
constexpr std::size_t kApplicationIdOffset = 68;
// The first bytes of a rollback journal and of a write-ahead log.
constexpr unsigned char kJournalMagic[] = {0xd9, 0xd5, 0x05, 0xf9, 0x20, 0xa1, 0x63, 0xd7};
constexpr unsigned char kWalMagic[] = {0x37, 0x7f, 0x06};

std::string MovedAsidePath(const std::string& project) {
    return project + ".TMP.TMP";
}

bool IsRegularFile(const std::string& path, bool followLinks = false) {
    struct stat status {};
    return (followLinks ? ::stat(path.c_str(), &status) : ::lstat(path.c_str(), &status)) == 0 &&
           S_ISREG(status.st_mode);
}

bool Exists(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

// The first `count` bytes of a regular file; fewer when it is shorter.
std::string Head(const std::string& path, std::size_t count, bool followLinks = false) {
    if (!IsRegularFile(path, followLinks))
        return {};
    std::ifstream file(path, std::ios::binary);
    std::string bytes(count, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}

bool StartsWith(const std::string& bytes, const unsigned char* magic, std::size_t length) {
    return bytes.size() >= length && std::memcmp(bytes.data(), magic, length) == 0;
}

bool IsDatabaseHeader(const std::string& header) {
    return header.size() == kHeaderBytes &&
           header.compare(0, sizeof kDatabaseMagic,
                          std::string(kDatabaseMagic, sizeof kDatabaseMagic)) == 0;
}

bool HoldsMainDB(const std::string& path) {
    Database db;
    if (!db.open(path, OpenMode::Inspect).ok())
        return false;
    Statement statement;
    return db.prepare(
                 "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'MainDB' "
                 "COLLATE NOCASE",
                 statement)
               .ok() &&
           statement.step() == StepResult::Row;
}

bool IsJournal(const std::string& path) {
    const std::string head = Head(path, sizeof kJournalMagic);
    return StartsWith(head, kJournalMagic, sizeof kJournalMagic) ||
           (StartsWith(head, kWalMagic, sizeof kWalMagic) && head.size() >= 4 &&
            (static_cast<unsigned char>(head[3]) & 0xfe) == 0x82);
}

// A project moved aside by a run that was cut off before it put anything in
// the project's place goes back there.
Status ReturnMovedAside(const std::string& project) {
    const std::string movedAside = MovedAsidePath(project);
    if (Exists(project) || !IsProjectDatabase(movedAside))
        return {};
    if (Status status = ClearJournals(project); !status.ok())
        return status;
    if (Files().Rename(movedAside.c_str(), project.c_str()) != 0)
        return SystemFailure("cannot move '" + movedAside + "' back to '" + project + "'");
    return SyncFolder(fs::path(project).parent_path().string());
}

}  // namespace

std::string SavingPath(const std::string& project) {
    return project + ".saving";
}

std::string WorkPath(const std::string& project) {
    return project + ".TMP";
}

bool StartsAsDatabase(const std::string& path) {
    return IsDatabaseHeader(Head(path, kHeaderBytes, true));
}

bool IsProjectDatabase(const std::string& path) {
    const std::string header = Head(path, kHeaderBytes);
    if (!IsDatabaseHeader(header))
        return false;
    const auto byte = [&](std::size_t i) {
        return static_cast<uint32_t>(static_cast<unsigned char>(header[kApplicationIdOffset + i]));
    };
    const uint32_t id = byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
    return id == static_cast<uint32_t>(kProjectApplicationId) ||
           id == static_cast<uint32_t>(kVersionedProjectApplicationId) || HoldsMainDB(path);
}

Status ClearSideFile(const std::string& side) {
    if (Exists(side)) {
        if (!IsProjectDatabase(side))
            return {std::make_error_code(std::errc::file_exists),
                    "'" + side + "' is in the way and was not written by this program; it is " +
                        "left as it is"};
        return RemoveDatabaseFile(side);
    }
    for (const char* suffix : {"-journal", "-wal"}) {
        const std::string journal = side + suffix;
        if (Exists(journal) && !IsJournal(journal))
            return {std::make_error_code(std::errc::file_exists),
                    "'" + journal + "' is in the way and is no journal of SQLite's; it is " +
                        "left as it is"};
    }
    return ClearJournals(side);
}

Status RecoverProjectFile(const std::string& name) {
    // What a save left stands beside the file a link leads to.
    std::string project;
    if (Status status = FinalTarget(name, project); !status.ok())
        return status;
    // Beside a file that is no project nothing is the program's.
    if (Exists(project) && !IsProjectDatabase(project))
        return {};
    FileLock lock(project);
    if (Status status = lock.Take(); !status.ok())
        return status;
    // The side files of a run or save of this very process are at work.
    if (lock.Joined())
        return {};
    // Until the project is back in its place, what was moved aside is all
    // there is of it.
    if (Status status = ReturnMovedAside(project); !status.ok())
        return status;
    Status first;
    for (const std::string& side : {SavingPath(project), WorkPath(project), MovedAsidePath(project),
                                    WorkPath(SavingPath(project))}) {
        // What is not the program's stays, and a run or save that needs its
        // place says so then.
        if (Exists(side) && !IsProjectDatabase(side))
            continue;
        Status status = ClearSideFile(side);
        if (status.code() == std::errc::file_exists)
            continue;
        if (first.ok())
            first = std::move(status);
    }
    return first;
}

}  // namespace zv
