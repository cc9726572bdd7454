#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace zv {

// What of an item Cut has marked for the next Paste: nothing, the whole item,
// or some of its members (their indexes, in the order they were marked).
class CutMarks {
  public:
    bool IsEmpty() const { return kind_ == Kind::None; }
    bool IsWhole() const { return kind_ == Kind::Whole; }
    // The marked members; empty unless only some members are marked.
    const std::vector<int16_t>& Members() const { return members_; }

    void MarkWhole() {
        kind_ = Kind::Whole;
        members_.clear();
    }
    // Marking a member of an item marked whole leaves only that member marked.
    void MarkMember(int16_t member) {
        if (kind_ != Kind::Members)
            members_.clear();
        kind_ = Kind::Members;
        members_.push_back(member);
    }
    void Clear() {
        kind_ = Kind::None;
        members_.clear();
    }
    // Whether the member (0 for a row showing the whole item) shows as cut.
    bool Covers(int member) const {
        return IsWhole() || std::find(members_.begin(), members_.end(), member) != members_.end();
    }

  private:
    enum class Kind { None, Whole, Members };
    Kind kind_ = Kind::None;
    std::vector<int16_t> members_;
};

}  // namespace zv
