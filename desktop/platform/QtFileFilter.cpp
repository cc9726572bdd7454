#include "desktop/platform/QtFileFilter.h"

#include <QStringList>

namespace zv {

namespace {

// Qt separates the patterns of one entry with blanks and matches "*.*" only
// against names with a dot.
QString QtPatterns(const QString& patterns) {
    QStringList converted;
    for (const QString& pattern : patterns.split(u';', Qt::SkipEmptyParts)) {
        const QString trimmed = pattern.trimmed();
        converted << (trimmed == u"*.*" ? QStringLiteral("*") : trimmed);
    }
    return converted.join(u' ');
}

}  // namespace

QString QtFileFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(u'|');
    QStringList entries;
    // A description left without a pattern at the end is dropped.
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString& pattern = parts[i + 1];
        const QString shownPattern = QStringLiteral("(%1)").arg(pattern);
        const QString converted = QStringLiteral("(%1)").arg(QtPatterns(pattern));
        if (description.endsWith(shownPattern))
            entries << description.chopped(shownPattern.size()) + converted;
        else
            entries << description + u' ' + converted;
    }
    return entries.join(u";;");
}

}  // namespace zv
