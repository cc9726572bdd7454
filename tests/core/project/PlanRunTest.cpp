#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "core/engine/RunDisplay.h"
#include "core/project/PlanRun.h"
#include "core/strings/StringTable.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

using Texts = std::vector<std::string>;

// Everything a run shows, and requests made on cue.
class RecordingObserver : public RunObserver {
  public:
    explicit RecordingObserver(RunRequests& requests) : requests_(requests) {}

    void StatusChanged(const std::string& text) override {
        if (abortAt && text == RunDisplay::MediumStatusText(abortAt))
            requests_.abort = true;
    }
    void ProgressChanged(int, const ProgressBarState&) override {}
    void Yield() override {
        if (pauseOnce && !paused) {
            paused = true;
            requests_.pause = true;
        }
    }
    void PauseWait() override {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        requests_.pause = false;
    }
    void MediumChosen(const MediumReport& report) override { chosen.push_back(report.number); }
    void DetailChanged(const std::string& text) override { details.push_back(text); }

    int abortAt = 0;
    bool pauseOnce = false;
    bool paused = false;
    std::vector<int> chosen;
    Texts details;

  private:
    RunRequests& requests_;
};

// Single items with the given sizes (item i is "/data/f<i>").
std::vector<ProjectItem> Items(const std::vector<double>& sizes) {
    std::vector<ProjectItem> items;
    for (size_t i = 0; i < sizes.size(); ++i) {
        const std::string name = "/data/f" + std::to_string(i);
        items.push_back({name, 0, {{name, sizes[i]}}});
    }
    return items;
}

RunSettings Settings(double capacity, int mediaCount = -1, int minItems = 0, int maxItems = 32766) {
    RunSettings settings;
    settings.MediaSize = std::to_string(capacity);
    settings.MediaNum = static_cast<int16_t>(mediaCount);
    settings.MinFile = static_cast<int16_t>(minItems);
    settings.MaxFile = static_cast<int16_t>(maxItems);
    return settings;
}

class PlanRunTest : public ::testing::Test {
  protected:
    PlanRunResult Run(const std::vector<ProjectItem>& items, const RunSettings& settings,
                      RunOptions options = {}) {
        observer.chosen.clear();
        return RunPlan(items, settings, requests, observer, options);
    }

    test::TempFolder folder;  // an empty settings file: no presets
    RunRequests requests;
    RecordingObserver observer{requests};
};

// Which items go on which medium, and why a run places nothing: exact fits,
// the item limits, the media count, the smallest items when the search finds
// nothing better, a later medium that cannot be filled, both methods.
TEST_F(PlanRunTest, PlansAndMessages) {
    struct Case {
        std::vector<double> sizes;
        double capacity;
        int mediaCount, minItems, maxItems;
        std::vector<int32_t> media;  // by item; 0: left
        int message = 0;
        PackingMethod method = PackingMethod::Sequential;
    };
    const std::vector<double> tens(10, 10);
    const PackingMethod fewest = PackingMethod::FewestMedia;
    const Case cases[] = {
        {{400, 300, 300, 200}, 700, -1, 0, 32766, {1, 2, 2, 1}},
        {{681984000}, 681984000, -1, 0, 32766, {1}},
        {{5, 5, 5, 5}, 10, -1, 0, 32766, {2, 1, 2, 1}},
        {tens, 1000, -1, 0, 3, {1, 1, 1, 2, 2, 2, 3, 3, 3, 4}},
        {tens, 1000, -1, 3, 4, {1, 1, 1, 1, 2, 2, 2, 2, 0, 0}},
        {{600, 600, 600, 600, 600}, 1000, 2, 0, 32766, {0, 0, 0, 2, 1}},
        // The first size's smallest items are known to fit although the
        // search never evaluates them alone; empty files make a medium too.
        {{600, 350, 300}, 700, -1, 0, 32766, {2, 1, 1}},
        {{3000, 2500}, 4000, -1, 0, 32766, {2, 1}},
        {{1000, 0, 0}, 700, -1, 0, 32766, {0, 1, 1}},
        {{800, 701}, 700, -1, 0, 32766, {0, 0}, 40025},
        {{500, 300, 200, 100}, 700, -1, 3, 32766, {0, 0, 0, 0}, 40024},
        // A later medium that can take only one item ends the run quietly.
        {{900, 800, 150, 101, 50}, 1000, -1, 1, 32766, {0, 1, 1, 0, 1}},
        {{5, 5, 5, 5, 3}, 10, -1, 0, 32766, {1, 1, 2, 2, 3}, 0, fewest},
        {{600, 600, 600, 1200}, 1000, 2, 0, 32766, {1, 2, 0, 0}, 0, fewest},
        {{1500, 1200}, 1000, -1, 0, 32766, {0, 0}, 40025, fewest},
        {{600, 600}, 1000, -1, 1, 32766, {0, 0}, 40024, fewest},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.sizes) + " on " + std::to_string(c.capacity) +
                     (c.method == fewest ? " fewest" : ""));
        RunSettings settings = Settings(c.capacity, c.mediaCount, c.minItems, c.maxItems);
        settings.Method = c.method;
        const PlanRunResult result = Run(Items(c.sizes), settings);
        ASSERT_EQ(result.end, RunEnd::Completed);
        EXPECT_EQ(result.media, c.media);
        EXPECT_EQ(result.message ? result.message->id : 0, c.message);
        EXPECT_EQ(result.message ? result.message->text : "",
                  c.message ? ResString(c.message) : "");
    }
}

// A group is one item of its members' bytes; the reports are the media chosen.
TEST_F(PlanRunTest, AGroupGoesWholeOnOneMedium) {
    const std::vector<ProjectItem> items{{"/d/a", 0, {{"/d/a", 10}}},
                                         {"Group", 0, {{"/d/c", 15}, {"/d/e", 7}}},
                                         {"/d/f", 0, {{"/d/f", 12}}}};
    const PlanRunResult result = Run(items, Settings(22));
    ASSERT_EQ(result.end, RunEnd::Completed);
    EXPECT_EQ(result.media, (std::vector<int32_t>{1, 2, 1}));
    EXPECT_EQ(result.reports.size(), 2u);
    EXPECT_EQ(observer.chosen, (std::vector<int>{1, 2}));
}

// A stop ends the run with no plan and no message; "確定" ends a medium or
// the fewest-media search with the best found so far; settings a run must not
// start on, and a project without items, fail it with a message.
TEST_F(PlanRunTest, StopsAndFailures) {
    std::vector<double> twelve;
    for (int i = 0; i < 12; ++i)
        twelve.push_back(100 + 5 * i);
    observer.abortAt = 3;
    PlanRunResult result = Run(Items(twelve), Settings(500.5));
    EXPECT_EQ(result.end, RunEnd::Stopped);
    EXPECT_TRUE(result.media.empty());
    EXPECT_FALSE(result.message);
    EXPECT_EQ(observer.chosen, (std::vector<int>{1, 2}));
    observer.abortAt = 0;

    std::vector<double> many;
    for (int i = 0; i < 400; ++i)
        many.push_back(1000 + 37 * (i % 50));
    RunSettings fewest = Settings(20000);
    fewest.Method = PackingMethod::FewestMedia;
    requests.abort = true;
    EXPECT_EQ(Run(Items(many), fewest).end, RunEnd::Stopped);
    requests.abort = false;
    requests.finish = true;
    result = Run(Items(many), fewest);
    ASSERT_EQ(result.end, RunEnd::Completed);
    EXPECT_FALSE(requests.finish);
    EXPECT_EQ(std::count(result.media.begin(), result.media.end(), 0), 0) << "every item placed";

    for (const auto& [sizes, mediaCount, id] :
         {std::tuple(std::vector<double>{10}, 0, 41036), {std::vector<double>{}, -1, 40029}}) {
        result = Run(Items(sizes), Settings(1000, mediaCount));
        EXPECT_EQ(result.end, RunEnd::Failed) << id;
        EXPECT_EQ(result.message ? result.message->id : 0, id);
    }
}

// A medium's time limit ends it with its best and the run goes on; the limit
// counts searching time only, so a pause longer than the limit does not end
// the medium, and the clock shown leaves the pause out.
TEST_F(PlanRunTest, TimeLimitCountsSearchingTimeOnly) {
    std::vector<double> sizes;
    for (int i = 0; i < 60; ++i)
        sizes.push_back(1000 + 7 * i);
    PlanRunResult result = Run(Items(sizes), Settings(20000.5, 2), {1e-9});
    ASSERT_EQ(result.end, RunEnd::Completed);
    EXPECT_EQ(observer.chosen, (std::vector<int>{1, 2}));

    observer.pauseOnce = true;
    result = Run(Items(sizes), Settings(20000.5, 1), {1});
    ASSERT_EQ(result.end, RunEnd::Completed);
    EXPECT_TRUE(observer.paused);
    ASSERT_FALSE(observer.details.empty());
    const std::string& last = observer.details.back();
    EXPECT_LT(std::stod(last.substr(last.find("経過 ") + 7)), 1.5) << last;
}

}  // namespace
}  // namespace zv
