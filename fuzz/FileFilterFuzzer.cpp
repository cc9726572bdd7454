// The add-files dialog's filter: an input is the filter text, a zero byte, and
// a file name, both UTF-8. A single term and the same term with "-" must
// decide every name the other way round.

#include <QString>
#include <cstdlib>
#include <iostream>

#include "desktop/dialogs/FileFilter.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zv;
    const auto parts = fuzz::Parts(data, size, 1);
    const QString text = QString::fromStdString(parts[0]);
    const QString name = QString::fromStdString(parts[1]);
    const bool kept = FileFilter(text).Keeps(name);

    const bool oneTerm = !text.contains(QLatin1Char(' ')) && !text.contains(QChar(u'\u3000')) &&
                         !text.startsWith(QLatin1Char('+')) && !text.startsWith(QLatin1Char('-'));
    if (oneTerm && FileFilter(QLatin1Char('-') + text).Keeps(name) == kept) {
        std::cerr << "a term and its exclusion agreed\n";
        std::abort();
    }
    if (!FileFilter(QString()).Keeps(name)) {
        std::cerr << "an empty filter dropped a name\n";
        std::abort();
    }
    return 0;
}
