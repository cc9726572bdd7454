#pragma once

#include "core/platform/Status.h"

namespace zv {

class Database;

// A transaction that lasts as long as the object: it rolls back on
// destruction unless commit() succeeded, so no early return keeps half a
// change.
class Transaction {
  public:
    explicit Transaction(Database& database) : database_(database) {}
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Takes the write lock at once, so a busy file fails here.
    Status begin();
    Status commit();

  private:
    Database& database_;
    bool open_ = false;
};

}  // namespace zv
