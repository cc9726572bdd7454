#pragma once

#include <QString>
#include <vector>

namespace zv {

// The filter of the add-files dialog's list: terms typed apart by blanks, each
// of which must occur in a file's name ("abc", "+abc") or must not ("-tmp"),
// compared without regard to letter case, never on the folder part.
class FileFilter {
  public:
    // The terms of a filter text. The ideographic space separates like a
    // blank; every single blank separates, so two blanks in a row make an
    // empty term, and an empty term occurs in every name.
    explicit FileFilter(const QString& text);

    // Whether a file of this name stays in the list.
    bool Keeps(const QString& name) const;

  private:
    struct Term {
        QString text;  // upper-cased
        bool include = true;
    };
    std::vector<Term> terms_;
};

}  // namespace zv
