#include "core/db/DbError.h"

#include <string>

namespace zv {

namespace {

class Category : public std::error_category {
  public:
    const char* name() const noexcept override { return "zarvopack database"; }
    std::string message(int value) const override {
        switch (static_cast<DbError>(value)) {
            case DbError::NoFileName:
                return "no file name given";
            case DbError::FileExists:
                return "the file exists already";
            case DbError::FileMissing:
                return "the file does not exist";
            case DbError::CreateFailed:
                return "the database could not be created";
            case DbError::AlreadyOpen:
                return "the database is open already";
            case DbError::OpenFailed:
                return "the database could not be opened";
            case DbError::NotOpen:
                return "the database is not open";
            case DbError::NoTables:
                return "no tables given";
            case DbError::NoStatement:
                return "no statement given";
            case DbError::Refused:
                return "the database refused the operation";
        }
        return "unknown";
    }
};

}  // namespace

const std::error_category& DbErrorCategory() {
    static const Category category;
    return category;
}

}  // namespace zv
