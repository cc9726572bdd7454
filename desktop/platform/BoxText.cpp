#include "desktop/platform/BoxText.h"

#include <QFontMetrics>
#include <QStringList>
#include <QTextBoundaryFinder>
#include <vector>

namespace zv {

namespace {

bool OpensPath(const QString& line, qsizetype at) {
    if (line[at] != QLatin1Char('/'))
        return false;
    if (at == 0)
        return true;
    const QChar before = line[at - 1];
    return before.isSpace() || before == QLatin1Char('\'') || before == QLatin1Char('"');
}

// For each character, whether the line may break after it.
std::vector<bool> BreaksAfter(const QString& line) {
    std::vector<bool> breaks(static_cast<std::size_t>(line.size()), false);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, line);
    for (qsizetype at = finder.toNextBoundary(); at > 0 && at < line.size();
         at = finder.toNextBoundary())
        breaks[static_cast<std::size_t>(at - 1)] = true;

    for (qsizetype at = 0; at < line.size(); ++at) {
        if (!OpensPath(line, at))
            continue;
        const QChar quote = at > 0 ? line[at - 1] : QChar();
        qsizetype end = at;
        while (end < line.size() &&
               !(line[end] == quote && (quote == QLatin1Char('\'') || quote == QLatin1Char('"'))))
            ++end;
        // The path may break after its separators only; after its last
        // character the line breaks as it would anyway.
        for (qsizetype i = at; i + 1 < end; ++i)
            breaks[static_cast<std::size_t>(i)] = line[i] == QLatin1Char('/');
        at = end;
    }
    return breaks;
}

QString BrokenLine(const QString& line, const QFontMetrics& metrics, int width) {
    const std::vector<bool> breaks = BreaksAfter(line);
    QStringList pieces;
    qsizetype start = 0;
    // The last place after `start` where the line may break, if any.
    qsizetype lastBreak = 0;
    for (qsizetype end = 1; end <= line.size(); ++end) {
        if (lastBreak > start && metrics.horizontalAdvance(line.mid(start, end - start)) > width) {
            pieces.append(line.mid(start, lastBreak - start));
            start = lastBreak;
        }
        if (end < line.size() && breaks[static_cast<std::size_t>(end - 1)])
            lastBreak = end;
    }
    pieces.append(line.mid(start));
    return pieces.join(QLatin1Char('\n'));
}

}  // namespace

QString BrokenForBox(const QString& text, const QFontMetrics& metrics, int width) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (metrics.horizontalAdvance(line) > width)
            line = BrokenLine(line, metrics, width);
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace zv
