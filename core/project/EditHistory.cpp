#include "core/project/EditHistory.h"

#include <algorithm>
#include <utility>

namespace zv {

namespace {

bool SameItem(const ItemRecord& a, const ItemRecord& b) {
    return a.Name == b.Name && a.Size == b.Size && a.Medium == b.Medium &&
           a.PathList == b.PathList && a.Files == b.Files;
}

bool SameList(const EditHistory::State& a, const EditHistory::State& b) {
    return a.openGroup == b.openGroup &&
           std::equal(a.items.begin(), a.items.end(), b.items.begin(), b.items.end(), SameItem);
}

// Marks for a Paste that the list no longer holds as it was would move the
// wrong members.
EditHistory::State WithoutCutMarks(EditHistory::State state) {
    for (ItemRecord& item : state.items)
        item.Cut.Clear();
    return state;
}

}  // namespace

void EditHistory::Reset(State now) {
    current_ = WithoutCutMarks(std::move(now));
    back_.clear();
    forward_.clear();
}

void EditHistory::Record(State now) {
    if (SameList(now, current_))
        return;
    back_.push_back(std::exchange(current_, WithoutCutMarks(std::move(now))));
    if (back_.size() > kMaxSteps)
        back_.pop_front();
    forward_.clear();
}

EditHistory::State EditHistory::Undo() {
    forward_.push_back(std::exchange(current_, std::move(back_.back())));
    back_.pop_back();
    return current_;
}

EditHistory::State EditHistory::Redo() {
    back_.push_back(std::exchange(current_, std::move(forward_.back())));
    forward_.pop_back();
    return current_;
}

}  // namespace zv
