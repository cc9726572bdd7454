#include "desktop/dialogs/FileFilter.h"

#include <QStringList>

namespace zv {

namespace {

constexpr char16_t kIdeographicSpace = u'\u3000';

}  // namespace

FileFilter::FileFilter(const QString& text) {
    QString blanked = text;
    blanked.replace(QChar(kIdeographicSpace), QLatin1Char(' '));
    for (const QString& piece : blanked.split(QLatin1Char(' '))) {
        if (piece.startsWith(QLatin1Char('+')))
            terms_.push_back({piece.mid(1).toUpper(), true});
        else if (piece.startsWith(QLatin1Char('-')))
            terms_.push_back({piece.mid(1).toUpper(), false});
        else
            terms_.push_back({piece.toUpper(), true});
    }
}

bool FileFilter::Keeps(const QString& name) const {
    const QString upper = name.toUpper();
    for (const Term& term : terms_) {
        if (upper.contains(term.text) != term.include)
            return false;
    }
    return true;
}

}  // namespace zv
