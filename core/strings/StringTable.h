#pragma once

#include <string>

namespace zv {

// The text of entry id, with \r\n, \t and \\ turned into the characters they
// stand for. An id the table lacks throws PlatformError (number 326,
// "識別子 <id> のリソースが見つかりません。").
const std::string& ResString(int id);

// Whether the table has an entry id.
bool HasResString(int id);

}  // namespace zv
