#include "core/db/Transaction.h"

#include "core/db/Database.h"

namespace zv {

Transaction::~Transaction() {
    if (open_)
        static_cast<void>(database_.execute("ROLLBACK"));
}

Status Transaction::begin() {
    Status status = database_.execute("BEGIN IMMEDIATE");
    open_ = status.ok();
    return status;
}

Status Transaction::commit() {
    Status status = database_.execute("COMMIT");
    // A failed commit leaves the transaction open, for the destructor to end.
    if (status.ok())
        open_ = false;
    return status;
}

}  // namespace zv
