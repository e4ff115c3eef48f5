#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <time.h>

#include "base/MKClock.h"
#include "base/MKStopwatch.h"

namespace {

// Nothing else in this executable reads the process clock, and this test is
// registered first in its file.
TEST(Clock, FirstProcessReadIsZero)
{
    EXPECT_EQ(MKClock::ElapsedMs(), 0);
    Sleep(30);
    EXPECT_GE(MKClock::ElapsedMs(), 25);
}

TEST(Clock, WallClockAgreesWithTheRunTime)
{
    int64_t ms = MKUnixTimeMs();
    double seconds = MKUnixTimeSeconds();
    int64_t fromRunTime = static_cast<int64_t>(time(nullptr));
    EXPECT_LE(std::llabs(ms / 1000 - fromRunTime), 2);
    EXPECT_LE(std::fabs(seconds - static_cast<double>(ms) / 1000.0), 1.0);
    EXPECT_NE(seconds, static_cast<double>(static_cast<int64_t>(seconds)));  // carries a fraction (almost always)
}

TEST(Clock, SleepAndTimeStampCounter)
{
    int64_t before = MKClock::ElapsedMs();
    EXPECT_EQ(MKSleep(0), 0u);
    EXPECT_EQ(MKSleep(20), 20u);
    EXPECT_GE(MKClock::ElapsedMs() - before, 15);
    uint64_t first = MKReadTimeStampCounter();
    EXPECT_GT(MKReadTimeStampCounter(), first);
}

TEST(Stopwatch, AccumulatesRunsAndPauses)
{
    MKStopwatch watch;
    EXPECT_FALSE(watch.IsRunning());
    EXPECT_EQ(watch.ElapsedMs(), 0);
    watch.Start();
    Sleep(30);
    int64_t first = watch.Stop();
    Sleep(40);  // paused: not counted
    EXPECT_EQ(watch.ElapsedMs(), first);
    watch.Start();
    Sleep(20);
    int64_t total = watch.ElapsedMs();
    EXPECT_GE(total, 45);
    EXPECT_LE(total, 90);
    MKStopwatch running(true);
    EXPECT_TRUE(running.IsRunning());
}

int64_t s_fakeNow = 0;
int64_t FakeNow()
{
    return s_fakeNow;
}

TEST(Stopwatch, RunsOnTheClockItIsGivenAndResetsToZero)
{
    s_fakeNow = 1000;
    MKStopwatch watch(true, FakeNow);
    s_fakeNow = 1049;
    EXPECT_EQ(watch.ElapsedMs(), 49);
    watch.Stop();
    s_fakeNow = 5000;
    EXPECT_EQ(watch.ElapsedMs(), 49);
    watch.Reset();
    EXPECT_FALSE(watch.IsRunning());
    EXPECT_EQ(watch.ElapsedMs(), 0);
    watch.Start();
    s_fakeNow = 5050;
    EXPECT_EQ(watch.ElapsedMs(), 50);
    // Another clock starts afresh.
    watch.SetClock(nullptr);
    EXPECT_FALSE(watch.IsRunning());
    EXPECT_EQ(watch.ElapsedMs(), 0);
}

}  // namespace
