#pragma once

#include <QString>
#include <string>

namespace zv {

// The program's file filter, "desc|pattern|desc|pattern" with patterns joined
// by ";", in the "desc (pattern);;desc (pattern)" form of Qt's file dialogs.
// A description that already ends with its pattern in brackets keeps it once,
// and "*.*" becomes "*" so that files without an extension are listed too.
QString QtFileFilter(const std::string& filter);

}  // namespace zv
