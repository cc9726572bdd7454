#include "core/settings/AppState.h"

#include "core/strings/StringTable.h"

namespace zv {

namespace {

// "無題"
constexpr int kUntitled = 40097;

}  // namespace

AppState& App() {
    static AppState state{ResString(kUntitled)};
    return state;
}

}  // namespace zv
