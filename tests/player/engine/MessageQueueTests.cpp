#include <gtest/gtest.h>

#include <thread>

#include <windows.h>

#include "AudioHarness.h"
#include "player/engine/PVAudioMessage.h"
#include "player/engine/PVMessageQueue.h"
#include "player/engine/PVReplySignal.h"

namespace {

TEST(MessageQueue, FrontPostsOvertakeBackPosts)
{
    PVMessageQueue queue;
    PVAudioMessage start1{PVAudioMessage::kStart}, start2{PVAudioMessage::kStart}, quit{PVAudioMessage::kQuit};
    ASSERT_TRUE(queue.PushBack(&start1));
    ASSERT_TRUE(queue.PushBack(&start2));
    ASSERT_TRUE(queue.PushFront(&quit));
    EXPECT_EQ(queue.PopFront(), &quit);
    EXPECT_EQ(queue.PopFront(), &start1);
    EXPECT_EQ(queue.PopFront(), &start2);
    EXPECT_EQ(queue.PopFront(), nullptr);
    EXPECT_TRUE(queue.Empty());
}

TEST(MessageQueue, WaitEndsWithAPostOrItsTimeOut)
{
    EngineScope engine;
    PVMessageQueue queue;
    DWORD start = GetTickCount();
    EXPECT_EQ(queue.WaitPopFront(100), nullptr);
    EXPECT_GE(GetTickCount() - start, 90u);

    PVAudioMessage stop{PVAudioMessage::kStop};
    std::thread poster([&] {
        Sleep(50);
        queue.PushBack(&stop);
    });
    start = GetTickCount();
    EXPECT_EQ(queue.WaitPopFront(INFINITE), &stop);
    EXPECT_LT(GetTickCount() - start, 1000u);
    poster.join();
    // No release is left pending for the next wait.
    EXPECT_EQ(queue.WaitPopFront(30), nullptr);
}

TEST(ReplySignal, LateSignalAfterATimedOutWaitIsHarmless)
{
    EngineScope engine;
    PVReplySignal* reply = PVReplySignal::Create();
    ASSERT_NE(reply, nullptr);
    reply->AddRef();  // the message's reference
    reply->Lock();
    EXPECT_FALSE(reply->Wait(30));
    reply->Unlock();
    reply->Release();  // the poster gives up
    std::thread handler([reply] {
        reply->Signal();
        reply->Release();  // the last reference
    });
    handler.join();

    // A signal within the wait is seen.
    PVReplySignal* second = PVReplySignal::Create();
    second->AddRef();
    second->Lock();
    std::thread signaller([second] {
        Sleep(30);
        second->Signal();
        second->Release();
    });
    EXPECT_TRUE(second->Wait(2000));
    second->Unlock();
    second->Release();
    signaller.join();
}

}  // namespace
