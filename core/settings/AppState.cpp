#include "core/settings/AppState.h"

#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

AppState& App() {
    static AppState state{ResString(text_id::Untitled)};
    return state;
}

}  // namespace zv
