#include <gtest/gtest.h>

#include "cli/WorkProgress.h"

namespace zv {
namespace {

TEST(WorkProgressTest, BytesAndTimeLeftReadAsAPersonSaysThem) {
    const std::pair<double, const char*> bytes[] = {
        {0, "0 bytes"}, {999, "999 bytes"}, {1000, "1.0 kB"}, {4.7e9, "4.7 GB"}, {25e6, "25.0 MB"}};
    for (const auto& [count, text] : bytes)
        EXPECT_EQ(WorkProgress::Bytes(count), text) << count;
    const struct {
        double done, elapsed;
        const char* text;
    } times[] = {
        {0.005, 100, ""},                // too little done to tell
        {0.5, 1, ""},                    // too soon to tell
        {1, 100, ""},                    // done
        {0.5, 30, "about 30 s left"},    //
        {0.25, 60, "about 3 min left"},  //
        {0.1, 3600, "about 9.0 h left"},
    };
    for (const auto& t : times)
        EXPECT_EQ(WorkProgress::TimeLeft(t.done, t.elapsed), t.text) << t.done << " " << t.elapsed;
}

}  // namespace
}  // namespace zv
