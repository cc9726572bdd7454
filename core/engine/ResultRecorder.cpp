#include "core/engine/ResultRecorder.h"

#include <string>

#include "core/db/AccessDB.h"
#include "core/db/SqlText.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

ResultRecorder::ResultRecorder(AccessDB& db, RunDisplay& display, const CombinationSearch& search)
    : db_(db), display_(display), search_(search) {}

bool ResultRecorder::RecordMedium(int n, const std::vector<StackRecord>& bestStack) {
    display_.SetStatus(RunDisplay::RecordingStatusText(n));
    display_.Yield();

    // One transaction per medium: a failure part of the way rolls every table
    // and row of this medium back, so GP and the media recorded so far agree.
    if (!db_.BeginTrans().ok()) {
        display_.Message(text_id::UpdateFailed);
        return false;
    }
    if (!CreateTables(n))
        return false;

    const std::vector<int> positions = search_.StackToPositions(bestStack);
    MediumItems medium{std::vector<int16_t>(positions.size()),
                       std::vector<double>(positions.size())};
    auto rows = db_.Run("SELECT * FROM [GP] ORDER BY [GSIZE] DESC", adOpenStatic);
    if (!rows->IsOpen())
        return Fail(text_id::DatabaseOpenFailed);
    for (size_t i = 0; i < positions.size(); ++i) {
        rows->MoveTo(positions[i]);
        if (rows->AtEnd())
            return Fail(text_id::ReadFailed);
        medium.itemNumbers[i] = rows->Field("GID").ToInt16();
        medium.sizes[i] = rows->Field("GSIZE").ToDouble();
    }
    if (!WriteRows(n, medium, search_.ComboTotal(positions)))
        return false;
    if (!db_.CommitTrans().ok())
        return Fail(text_id::UpdateFailed);
    return true;
}

bool ResultRecorder::RecordMedia(const std::vector<MediumItems>& media) {
    // One transaction for the whole plan: it is recorded whole or not at all,
    // and a plan of thousands of media does not wait for thousands of syncs.
    if (!db_.BeginTrans().ok()) {
        display_.Message(text_id::UpdateFailed);
        return false;
    }
    for (size_t i = 0; i < media.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        display_.SetStatus(RunDisplay::RecordingStatusText(n));
        display_.Yield();
        double total = 0;
        for (double size : media[i].sizes)
            total += size;
        if (!CreateTables(n) || !WriteRows(n, media[i], total))
            return false;
    }
    if (!db_.CommitTrans().ok())
        return Fail(text_id::UpdateFailed);
    return true;
}

bool ResultRecorder::Fail(int message) {
    // Closing the connection undoes a transaction that cannot be rolled back;
    // the run ends with this failure anyway.
    if (!db_.RollbackTrans().ok())
        db_.DBClose();
    display_.Message(message);
    return false;
}

std::string ResultRecorder::IdTable(int n) {
    return "DISC_" + std::to_string(n) + "_ID";
}

std::string ResultRecorder::SizeTable(int n) {
    return "DISC_" + std::to_string(n) + "_SIZE";
}

bool ResultRecorder::CreateTables(int n) {
    TableDef ids{IdTable(n), {{"GID", ColumnType::Integer, 0}, {"SIZE", ColumnType::Double, 0}}};
    TableDef total{SizeTable(n), {{"SIZE", ColumnType::Double, 0}}};
    if (!db_.TBCreate({ids, total}).ok())
        return Fail(text_id::UpdateFailed);
    return true;
}

bool ResultRecorder::WriteRows(int n, const MediumItems& medium, double total) {
    // A medium without items would leave GP as it was.
    if (medium.itemNumbers.empty())
        return Fail(text_id::UpdateFailed);
    const std::string idTable = IdTable(n);
    if (!db_.Execute("INSERT INTO [" + SizeTable(n) + "] VALUES(" + SqlNumber(total) + ")").ok())
        return Fail(text_id::UpdateFailed);
    for (size_t i = 0; i < medium.itemNumbers.size(); ++i) {
        if (!db_.Execute("INSERT INTO [" + idTable + "] VALUES(" +
                         std::to_string(medium.itemNumbers[i]) + "," + SqlNumber(medium.sizes[i]) +
                         ")")
                 .ok())
            return Fail(text_id::UpdateFailed);
    }
    for (int16_t item : medium.itemNumbers) {
        if (!db_.Execute("DELETE FROM [GP] WHERE [GID] = " + std::to_string(item)).ok())
            return Fail(text_id::UpdateFailed);
    }
    return true;
}

}  // namespace zv
