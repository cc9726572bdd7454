#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace zv {

// Entries of the items still waiting for a medium, in a fixed order, from
// which each medium's items are erased. The entries on the shorter side of
// the erased ones move, so a run of many media that each take items near one
// end of the list costs the same per medium however many items are waiting.
template <class T>
class RemainingItems {
  public:
    explicit RemainingItems(std::vector<T> entries) : entries_(std::move(entries)) {}

    std::size_t size() const { return entries_.size() - first_; }
    bool empty() const { return size() == 0; }
    const T* data() const { return entries_.data() + first_; }
    const T& operator[](std::size_t index) const { return entries_[first_ + index]; }

    // Erases the entries at `indexes`, which ascend; the rest keep their order.
    void Erase(const std::vector<int>& indexes) {
        if (indexes.empty())
            return;
        const std::size_t low = first_ + static_cast<std::size_t>(indexes.front());
        const std::size_t high = first_ + static_cast<std::size_t>(indexes.back());
        if (high - first_ < entries_.size() - low) {
            // Fewer entries before the last erased one: move them up.
            std::size_t write = high;
            auto erased = indexes.rbegin();
            for (std::size_t read = high + 1; read-- > first_;) {
                if (erased != indexes.rend() &&
                    read == first_ + static_cast<std::size_t>(*erased)) {
                    ++erased;
                    continue;
                }
                entries_[write--] = std::move(entries_[read]);
            }
            first_ += indexes.size();
        } else {
            std::size_t write = low;
            auto erased = indexes.begin();
            for (std::size_t read = low; read < entries_.size(); ++read) {
                if (erased != indexes.end() && read == first_ + static_cast<std::size_t>(*erased)) {
                    ++erased;
                    continue;
                }
                entries_[write++] = std::move(entries_[read]);
            }
            entries_.resize(write);
        }
    }

  private:
    std::vector<T> entries_;
    std::size_t first_ = 0;  // entries before it were erased
};

}  // namespace zv
