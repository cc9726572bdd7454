#include "core/engine/ResultRecorder.h"

#include <string>

#include "core/db/AccessDB.h"
#include "core/db/SqlText.h"
#include "core/strings/StringTable.h"

namespace zv {

ResultRecorder::ResultRecorder(const RunParameters& params, RunDisplay& display,
                               const CombinationSearch& search)
    : params_(params), display_(display), search_(search) {}

bool ResultRecorder::RecordMedium(int n, const std::vector<StackRecord>& bestStack) {
    display_.SetStatus(RunDisplay::RecordingStatusText(n));
    display_.Yield();

    AccessDB db;
    db.SetPath(params_.WorkDatabasePath());
    // One transaction per medium: a failure part of the way rolls every table
    // and row of this medium back, so GP and the media recorded so far agree.
    if (db.DBOpen(""))
        db.BeginTrans();
    if (!CreateTables(db, n))
        return false;

    const std::vector<int> positions = search_.StackToPositions(bestStack);
    MediumItems medium{std::vector<int16_t>(positions.size()),
                       std::vector<double>(positions.size())};
    auto rows = db.Run("SELECT * FROM [GP] ORDER BY [GSIZE] DESC", adOpenStatic);
    if (!rows->IsOpen())
        return Fail(db, 40026);
    for (size_t i = 0; i < positions.size(); ++i) {
        rows->MoveTo(positions[i]);
        if (rows->AtEnd())
            return Fail(db, 40028);
        medium.itemNumbers[i] = rows->Field("GID").ToInt16();
        medium.sizes[i] = rows->Field("GSIZE").ToDouble();
    }
    if (!WriteRows(db, n, medium, search_.ComboTotal(positions)))
        return false;
    if (!db.CommitTrans())
        return Fail(db, 40027);
    return true;
}

bool ResultRecorder::RecordMedia(const std::vector<MediumItems>& media) {
    AccessDB db;
    db.SetPath(params_.WorkDatabasePath());
    if (!db.DBOpen("")) {
        display_.Message(40026);
        return false;
    }
    // One transaction for the whole plan: it is recorded whole or not at all,
    // and a plan of thousands of media does not wait for thousands of syncs.
    if (!db.BeginTrans())
        return Fail(db, 40027);
    for (size_t i = 0; i < media.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        display_.SetStatus(RunDisplay::RecordingStatusText(n));
        display_.Yield();
        double total = 0;
        for (double size : media[i].sizes)
            total += size;
        if (!CreateTables(db, n) || !WriteRows(db, n, media[i], total))
            return false;
    }
    if (!db.CommitTrans())
        return Fail(db, 40027);
    return true;
}

bool ResultRecorder::Fail(AccessDB& db, int message) {
    db.RollbackTrans();
    display_.Message(message);
    return false;
}

std::string ResultRecorder::IdTable(int n) {
    return "DISC_" + std::to_string(n) + "_ID";
}

std::string ResultRecorder::SizeTable(int n) {
    return "DISC_" + std::to_string(n) + "_SIZE";
}

bool ResultRecorder::CreateTables(AccessDB& db, int n) {
    TableDef ids{IdTable(n), {{"GID", ColumnType::Integer, 0}, {"SIZE", ColumnType::Double, 0}}};
    TableDef total{SizeTable(n), {{"SIZE", ColumnType::Double, 0}}};
    if (!db.TBCreate({ids, total}))
        return Fail(db, 40027);
    return true;
}

bool ResultRecorder::WriteRows(AccessDB& db, int n, const MediumItems& medium, double total) {
    const std::string idTable = IdTable(n);
    const std::string sizeTable = SizeTable(n);
    db.ErrClear();
    std::string message;
    db.Run("INSERT INTO [" + sizeTable + "] VALUES(" + SqlNumber(total) + ")", adOpenDynamic);
    for (size_t i = 0; i < medium.itemNumbers.size(); ++i) {
        db.Run("INSERT INTO [" + idTable + "] VALUES(" + std::to_string(medium.itemNumbers[i]) +
                   "," + SqlNumber(medium.sizes[i]) + ")",
               adOpenDynamic);
        if (!db.LastErr(message).empty())
            return Fail(db, 40027);
    }
    for (int16_t item : medium.itemNumbers) {
        db.Run("DELETE FROM [GP] WHERE [GID] = " + std::to_string(item), adOpenDynamic);
        if (!db.LastErr(message).empty())
            return Fail(db, 40027);
    }
    return true;
}

}  // namespace zv
