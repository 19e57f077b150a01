#include "launcher/launcher_life.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// One transition and its answer. EndModal's answer is the sum of what it leaves to do.
enum Step { kModal, kEndModal, kRebuild, kPending, kEndRebuild, kShutdown, kResume };
constexpr int kOutermost = 1, kRelease = 2, kRebuildNow = 4;

struct Move {
    Step step;
    int answer;
};

int Apply(LauncherLife& life, Step step) {
    switch (step) {
        case kModal:
            return life.BeginModal();
        case kEndModal: {
            const LauncherLife::ModalEnd end = life.EndModal();
            return (end.outermost ? kOutermost : 0) + (end.release ? kRelease : 0) + (end.rebuild ? kRebuildNow : 0);
        }
        case kRebuild:
            return life.RequestRebuild();
        case kPending:
            return life.TakePendingRebuild();
        case kEndRebuild:
            life.EndRebuild();
            return 0;
        case kShutdown:
            return life.BeginShutdown();
        case kResume:
            return life.Resume();
    }
    return -1;
}

struct Story {
    const char* name;
    std::vector<Move> moves;
};

const Story kStories[] = {
    {"a rebuild with nothing running runs at once", {{kRebuild, 1}, {kPending, 0}, {kEndRebuild, 0}, {kRebuild, 1}}},
    {"a rebuild waits for the outermost loop",
     {{kModal, 1}, {kModal, 0}, {kRebuild, 0}, {kEndModal, 0}, {kEndModal, kOutermost + kRebuildNow}, {kRebuild, 1}}},
    {"rebuilds asked for during a rebuild run once after it",
     {{kRebuild, 1}, {kRebuild, 0}, {kRebuild, 0}, {kPending, 1}, {kPending, 0}, {kEndRebuild, 0}}},
    {"a loop that ends within a rebuild leaves the waiting rebuild to it",
     {{kRebuild, 1}, {kModal, 1}, {kRebuild, 0}, {kEndModal, kOutermost}, {kPending, 1}, {kEndRebuild, 0}}},
    {"a loop opened within a rebuild keeps the waiting rebuild to its end",
     {{kRebuild, 1},
      {kModal, 1},
      {kRebuild, 0},
      {kPending, 0},
      {kEndRebuild, 0},
      {kEndModal, kOutermost + kRebuildNow}}},
    {"a launcher shut down is not rebuilt",
     {{kShutdown, 1}, {kRebuild, 0}, {kPending, 0}, {kModal, 1}, {kEndModal, kOutermost}}},
    {"a shutdown pass within a loop frees at its end and drops the waiting rebuild",
     {{kModal, 1}, {kRebuild, 0}, {kShutdown, 0}, {kShutdown, 0}, {kEndModal, kOutermost + kRelease}, {kRebuild, 0}}},
    {"a cancelled end within a loop finds the buttons whole",
     {{kModal, 1}, {kShutdown, 0}, {kResume, 1}, {kEndModal, kOutermost}, {kRebuild, 1}}},
    {"a cancelled end after a full shutdown makes the buttons again", {{kShutdown, 1}, {kResume, 0}, {kRebuild, 1}}},
    {"an end of a loop that never began changes nothing", {{kEndModal, 0}, {kModal, 1}, {kEndModal, kOutermost}}},
};

TEST(LauncherLife, Transitions) {
    for (const Story& story : kStories) {
        LauncherLife life;
        for (size_t i = 0; i < story.moves.size(); ++i)
            EXPECT_EQ(Apply(life, story.moves[i].step), story.moves[i].answer) << story.name << ", move " << i;
    }
}

TEST(LauncherLife, StartAndModalStateAreVisible) {
    LauncherLife life;
    life.BeginStart();
    EXPECT_TRUE(life.IsStarting());
    life.EndStart();
    EXPECT_FALSE(life.IsStarting());
    life.BeginModal();
    EXPECT_TRUE(life.InModal());
    life.EndModal();
    EXPECT_FALSE(life.InModal());
    life.BeginShutdown();
    EXPECT_TRUE(life.IsShutDown());
}

}  // namespace
