#include <gtest/gtest.h>

#include "player/engine/PVAction.h"
#include "player/engine/PVActionVM.h"
#include "player/engine/PVPlayer.h"

namespace {

TEST(ActionVM, QueueHoldsAReferenceUntilTheRunOrClear)
{
    PVPlayer player;
    ASSERT_TRUE(player.Init());
    PVActionVM& vm = *player.ActionVM();
    PVAction play(PVAction::kPlay);
    play.AddRef();
    EXPECT_TRUE(vm.Push(nullptr));
    EXPECT_TRUE(vm.Push(&play));
    EXPECT_TRUE(vm.Push(&play));
    EXPECT_EQ(play.RefCount(), 3);
    EXPECT_TRUE(vm.Run(1.0));
    EXPECT_EQ(play.RefCount(), 1);
    EXPECT_EQ(vm.QueuedCount(), 0);
    vm.Push(&play);
    vm.Clear();
    EXPECT_EQ(play.RefCount(), 1);
}

TEST(ActionVM, RunsOnlyTheFrameControlSubset)
{
    PVPlayer player;
    ASSERT_TRUE(player.Init());
    PVActionVM& vm = *player.ActionVM();
    // Without a target only the quality switch acts; everything else,
    // codes without a handler included, is passed over.
    const int codes[] = {PVAction::kToggleQuality, PVAction::kPlay, PVAction::kStop, PVAction::kNextFrame,
                         PVAction::kStopSounds, 0x17, 0x3E, PVAction::kToggleQuality, PVAction::kToggleQuality};
    for (int code : codes)
        vm.Push(new PVAction(code));
    EXPECT_TRUE(vm.Run(1.0));
    EXPECT_FALSE(player.HighQuality());
}

TEST(ActionVM, LongQueueEndsAtTheBudgetAndDropsTheRest)
{
    PVPlayer player;
    ASSERT_TRUE(player.Init());
    PVActionVM& vm = *player.ActionVM();
    PVAction toggle(PVAction::kToggleQuality);
    toggle.AddRef();
    for (int i = 0; i < PVActionVM::kRunBudget + 11; ++i)
        vm.Push(&toggle);
    EXPECT_FALSE(vm.Run(1.0));
    EXPECT_EQ(toggle.RefCount(), 1);
    // An even budget of toggles ran; the odd rest did not.
    EXPECT_EQ(player.HighQuality(), PVActionVM::kRunBudget % 2 == 0);
}

}  // namespace
