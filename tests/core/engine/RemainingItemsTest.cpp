#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/engine/RemainingItems.h"

namespace zv {
namespace {

// Erasing from either end, the middle or everything leaves the entries a
// plain erase would, in their order, through any number of erasures.
TEST(RemainingItemsTest, ErasesAsAPlainListWould) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::vector<int> expected(1 + random() % 40);
        for (std::size_t i = 0; i < expected.size(); ++i)
            expected[i] = static_cast<int>(i);
        RemainingItems<int> list(expected);
        while (!expected.empty()) {
            std::vector<int> indexes;
            for (std::size_t i = 0; i < expected.size(); ++i) {
                if (random() % 4 == 0)
                    indexes.push_back(static_cast<int>(i));
            }
            if (indexes.empty())
                indexes.push_back(static_cast<int>(random() % 2 ? 0 : expected.size() - 1));
            for (auto i = indexes.rbegin(); i != indexes.rend(); ++i)
                expected.erase(expected.begin() + *i);
            list.Erase(indexes);
            ASSERT_EQ(std::vector<int>(list.data(), list.data() + list.size()), expected);
        }
        EXPECT_TRUE(list.empty());
    }
}

}  // namespace
}  // namespace zv
