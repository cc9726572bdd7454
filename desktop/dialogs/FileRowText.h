#pragma once

#include <QLocale>
#include <QString>
#include <cstdint>

namespace zv {

// A size as the add-files dialog's list shows it: "#,##0" with as many blanks
// in front as the widest size text of the list is longer, so that all size
// texts are equally long and sort by their value.
QString PaddedSizeText(double size, int widest);

// A modification time in the locale's short date and time format.
QString ShortDateText(std::int64_t millisecondsSince1970, const QLocale& locale);

}  // namespace zv
