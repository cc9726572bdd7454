#pragma once

namespace zv {

// Asks whether the results may be cleared so that a command that changes the
// list can go on; true when the user chose OK.
bool ConfirmClearResults();

}  // namespace zv
