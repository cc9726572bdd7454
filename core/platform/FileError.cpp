#include "core/platform/FileError.h"

#include <string>

namespace zv {

namespace {

class Category : public std::error_category {
  public:
    const char* name() const noexcept override { return "zarvopack file"; }
    std::string message(int value) const override {
        switch (static_cast<FileError>(value)) {
            case FileError::InUse:
                return "in use by another run or save";
            case FileError::ReadOnly:
                return "read-only";
            case FileError::NotSynced:
                return "in place, but not yet safely on the disk";
        }
        return "unknown";
    }
};

}  // namespace

const std::error_category& FileErrorCategory() {
    static const Category category;
    return category;
}

}  // namespace zv
