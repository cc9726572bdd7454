#include "core/engine/ResultRecorder.h"

#include <cstdint>
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
    auto fail = [&](int message) {
        db.RollbackTrans();
        display_.Message(message);
        return false;
    };

    const std::string number = std::to_string(n);
    const std::string idTable = "DISC_" + number + "_ID";
    const std::string sizeTable = "DISC_" + number + "_SIZE";
    TableDef ids{idTable, {{"GID", ColumnType::Integer, 0}, {"SIZE", ColumnType::Double, 0}}};
    TableDef total{sizeTable, {{"SIZE", ColumnType::Double, 0}}};
    if (!db.TBCreate({ids, total}))
        return fail(40027);

    const std::vector<int> positions = search_.StackToPositions(bestStack);
    std::vector<int16_t> itemNumbers(positions.size());
    std::vector<double> sizes(positions.size());

    auto rows = db.Run("SELECT * FROM [GP] ORDER BY [GSIZE] DESC", adOpenStatic);
    if (!rows->IsOpen())
        return fail(40026);
    for (size_t i = 0; i < positions.size(); ++i) {
        rows->MoveTo(positions[i]);
        if (rows->AtEnd())
            return fail(40028);
        itemNumbers[i] = rows->Field("GID").ToInt16();
        sizes[i] = rows->Field("GSIZE").ToDouble();
    }

    db.ErrClear();
    std::string message;
    db.Run(
        "INSERT INTO [" + sizeTable + "] VALUES(" + SqlNumber(search_.ComboTotal(positions)) + ")",
        adOpenDynamic);
    for (size_t i = 0; i < itemNumbers.size(); ++i) {
        db.Run("INSERT INTO [" + idTable + "] VALUES(" + std::to_string(itemNumbers[i]) + "," +
                   SqlNumber(sizes[i]) + ")",
               adOpenDynamic);
        if (!db.LastErr(message).empty())
            return fail(40027);
    }
    for (int16_t item : itemNumbers) {
        db.Run("DELETE FROM [GP] WHERE [GID] = " + std::to_string(item), adOpenDynamic);
        if (!db.LastErr(message).empty())
            return fail(40027);
    }
    if (!db.CommitTrans())
        return fail(40027);
    return true;
}

}  // namespace zv
