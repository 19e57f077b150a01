#include "settings/numbered_list_save.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "memory_profile.h"

namespace {

using Values = std::map<int, std::string>;

// Applies the plan step by step and checks after every step that each value wanted after the
// save and stored before it is held by some index: a kill at that step would lose nothing.
Values ApplyCheckingEachStep(const Values& stored, const Values& wanted, int maxIndex) {
    std::set<std::string> mustSurvive;
    std::set<std::string> wantedValues;
    for (const auto& [index, value] : wanted)
        wantedValues.insert(value);
    for (const auto& [index, value] : stored) {
        if (wantedValues.count(value))
            mustSurvive.insert(value);
    }
    Values state = stored;
    for (const NumberedListStep& step : PlanNumberedListSave(stored, wanted, maxIndex)) {
        if (step.kind == NumberedListStep::kWrite)
            state[step.index] = step.value;
        else
            state.erase(step.index);
        std::set<std::string> held;
        for (const auto& [index, value] : state)
            held.insert(value);
        for (const std::string& value : mustSurvive)
            EXPECT_TRUE(held.count(value)) << "lost " << value << " after writing index " << step.index;
    }
    return state;
}

TEST(NumberedListSave, EndsExactlyAtTheWantedValues) {
    Values stored = {{0, "a"}, {1, "b"}, {5, "stale"}, {9, "c"}};
    Values wanted = {{0, "a"}, {1, "c"}, {2, "new"}};
    EXPECT_EQ(wanted, ApplyCheckingEachStep(stored, wanted, 100));
}

TEST(NumberedListSave, UnchangedValuesAreNotRewritten) {
    Values same = {{0, "a"}, {3, "b"}};
    EXPECT_TRUE(PlanNumberedListSave(same, same, 100).empty());
}

TEST(NumberedListSave, SwapsAndRotationsGoThroughASpareIndex) {
    EXPECT_EQ((Values{{0, "b"}, {1, "a"}}), ApplyCheckingEachStep({{0, "a"}, {1, "b"}}, {{0, "b"}, {1, "a"}}, 10));

    Values stored, rotated;
    for (int i = 0; i < 1000; ++i) {
        stored[i] = "item" + std::to_string(i);
        rotated[i] = "item" + std::to_string((i + 1) % 1000);
    }
    EXPECT_EQ(rotated, ApplyCheckingEachStep(stored, rotated, 10000));
    Values reversed;
    for (int i = 0; i < 1000; ++i)
        reversed[i] = "item" + std::to_string(999 - i);
    EXPECT_EQ(reversed, ApplyCheckingEachStep(stored, reversed, 10000));
}

TEST(NumberedListSave, FinishesWhenNoSpareIndexIsLeft) {
    Values stored = {{0, "a"}, {1, "b"}, {2, "c"}};
    Values wanted = {{0, "b"}, {1, "c"}, {2, "a"}};
    Values state = stored;
    for (const NumberedListStep& step : PlanNumberedListSave(stored, wanted, 2))
        state[step.index] = step.value;
    EXPECT_EQ(wanted, state);
}

TEST(NumberedListSave, RandomEditsNeverLoseAKeptValue) {
    std::mt19937 random(12345);
    for (int round = 0; round < 200; ++round) {
        Values stored, wanted;
        for (int i = 0; i < 30; ++i) {
            if (random() % 3)
                stored[random() % 40] = "v" + std::to_string(random() % 25);
            if (random() % 3)
                wanted[random() % 40] = "v" + std::to_string(random() % 25);
        }
        EXPECT_EQ(wanted, ApplyCheckingEachStep(stored, wanted, 60));
    }
}

TEST(NumberedListSave, SavesThroughTheProfileAndKeepsOtherValues) {
    MemoryProfile profile;
    profile.SetStrings("Path Name",
                       {{"Button0", "a*x"}, {"Button1", "b*y"}, {"Other", "kept"}, {"Button10001", "out of range"}});
    SaveNumberedList(profile, "Path Name", "Button", 10000, {{0, "b*y"}, {1, "a*x"}});
    EXPECT_EQ("b*y", profile.StringAt("Path Name", "Button0"));
    EXPECT_EQ("a*x", profile.StringAt("Path Name", "Button1"));
    EXPECT_EQ("kept", profile.StringAt("Path Name", "Other"));
    EXPECT_EQ("out of range", profile.StringAt("Path Name", "Button10001"));
    EXPECT_EQ((std::vector<std::string>{"Button0", "Button1", "Button10001", "Other"}), profile.ValueNames("Path Name"));
}

}  // namespace
