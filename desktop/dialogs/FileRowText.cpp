#include "desktop/dialogs/FileRowText.h"

#include <QDateTime>
#include <algorithm>

#include "core/settings/TextNumber.h"

namespace zv {

QString PaddedSizeText(double size, int widest) {
    const QString text = QString::fromStdString(FormatGrouped(size));
    return QString(std::max<qsizetype>(0, widest - text.size()), QLatin1Char(' ')) + text;
}

QString ShortDateText(std::int64_t millisecondsSince1970, const QLocale& locale) {
    return locale.toString(QDateTime::fromMSecsSinceEpoch(millisecondsSince1970),
                           QLocale::ShortFormat);
}

}  // namespace zv
