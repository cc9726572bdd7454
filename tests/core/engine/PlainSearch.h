#pragma once

// A plain, step-by-step rendering of the combination search used to check the
// engine's fast one: same moves, same pruning, same results, no batching.

#include <string>
#include <vector>

#include "core/engine/CombinationSearch.h"

namespace zv::testing {

class PlainSearch {
  public:
    PlainSearch(std::vector<double> sizesLargestFirst, const RunParameters& params)
        : sizes_(std::move(sizesLargestFirst)), p_(params), n_(static_cast<int>(sizes_.size())) {}

    double Level(int r) const { return sizes_[n_ - 1 - r]; }

    void ResetStack(int k) {
        k_ = k;
        double total = 0;
        for (int pos = n_ - k; pos < n_; ++pos)
            total += sizes_[pos];
        stack_ = {{static_cast<int16_t>(n_ - k), static_cast<int16_t>(k),
                   total > p_.mediaSize ? -1 : total}};
        mirror0_ = n_ - k;
    }

    bool Descend() {
        StackRecord t = stack_.back();
        if (t.BaseLevel <= 0)
            return false;
        const int b = t.BaseLevel;
        stack_.push_back({1, static_cast<int16_t>(b - 1), t.Total - Level(b - 1) + Level(b)});
        return true;
    }
    bool AdvanceTop() {
        if (stack_.size() < 2)
            return false;
        StackRecord& t = stack_.back();
        if (stack_[stack_.size() - 2].Shift == t.Shift)
            return false;
        const int l = t.BaseLevel + t.Shift;
        t.Total = t.Total - Level(l) + Level(l + 1);
        ++t.Shift;
        return true;
    }
    bool Backtrack() {
        for (;;) {
            if (stack_.size() == 1)
                return false;
            stack_.pop_back();
            if (AdvanceTop())
                return true;
        }
    }

    bool Step(bool restart) {
        ++steps_;
        goodEnough_ = false;
        bool finished = false;
        bool skipMove = false;
        if (restart && k_ >= 3) {
            if (p_.fastSearch && best_.back().Total > 0) {
                goodEnough_ = true;
                return true;
            }
            --k_;
            if (k_ - 1 <= p_.minItems)
                return true;
            ResetStack(k_);
            markShift_ = markLevel_ = 0;
            skipMove = true;
        } else if (restart) {
            return true;
        }
        if (!skipMove) {
            if (!Descend() && !AdvanceTop() && !Backtrack())
                finished = true;
        }
        const StackRecord& t = stack_.back();
        if (t.BaseLevel <= markLevel_ && t.Shift >= markShift_) {
            if (!Backtrack())
                finished = true;
        }
        if (finished)
            return true;
        const StackRecord top = stack_.back();
        if (top.Total > p_.mediaSize) {
            markLevel_ = top.BaseLevel;
            markShift_ = top.Shift;
            if (!Backtrack())
                return true;
            const StackRecord now = stack_.back();
            if (stack_.size() == 1) {
                mirror0_ = n_ - k_;
            } else if (now.BaseLevel == k_ - 1) {
                mirror0_ = n_ - 1 - (now.BaseLevel + now.Shift);
            }
            return false;
        }
        if (top.Total > best_.back().Total) {
            best_ = stack_;
            if (p_.tolerance + top.Total >= p_.mediaSize) {
                goodEnough_ = true;
                return true;
            }
        }
        return false;
    }

    // The whole medium, as the driver loop runs it; records each size tried.
    void SearchMedium(int k) {
        ResetStack(k);
        best_ = {StackRecord{}};
        markShift_ = markLevel_ = 0;
        sizesTried_ = {k};
        bool restart = false;
        for (;;) {
            bool finished = Step(restart);
            restart = finished;
            if (!finished)
                continue;
            if (goodEnough_)
                break;
            finished = Step(true);
            restart = finished;
            if (finished)
                break;
            sizesTried_.push_back(k_);
        }
    }

    // Positions by the character text the stack describes.
    std::vector<int> Positions(const std::vector<StackRecord>& stack) const {
        std::string text(stack[0].Shift, '0');
        text += std::string(stack[0].BaseLevel, '1');
        for (size_t j = 1; j < stack.size(); ++j) {
            const int len = stack[j].Shift + stack[j].BaseLevel + 1;
            text.replace(
                text.size() - len, len,
                "1" + std::string(stack[j].Shift, '0') + std::string(stack[j].BaseLevel, '1'));
        }
        std::vector<int> positions;
        for (size_t p = 0; p < text.size(); ++p) {
            if (text[p] == '1')
                positions.push_back(static_cast<int>(p));
        }
        if (positions.empty())
            positions.push_back(-1);
        return positions;
    }

    std::vector<double> sizes_;
    RunParameters p_;
    int n_;
    int k_ = 0;
    std::vector<StackRecord> stack_;
    std::vector<StackRecord> best_{StackRecord{}};
    int markShift_ = 0;
    int markLevel_ = 0;
    int mirror0_ = 0;
    bool goodEnough_ = false;
    long long steps_ = 0;
    std::vector<int> sizesTried_;
};

}  // namespace zv::testing
