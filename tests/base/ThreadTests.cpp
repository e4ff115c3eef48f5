#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>

#include "base/MKAlloc.h"
#include "base/MKCallable.h"
#include "base/MKThread.h"

namespace {

struct Handoff {
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    int input = 0;
    int output = 0;
    ~Handoff() { CloseHandle(done); }
};

DWORD DoubleInput(void* argument)
{
    auto* handoff = static_cast<Handoff*>(argument);
    handoff->output = handoff->input * 2;
    SetEvent(handoff->done);
    return 0;
}

TEST(Thread, CreateThreadRunsTheFunctionWithItsArgument)
{
    Handoff handoff;
    handoff.input = 21;
    ASSERT_NE(MKCreateThread(DoubleInput, &handoff), nullptr);
    ASSERT_EQ(WaitForSingleObject(handoff.done, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(handoff.output, 42);
}

class AnswerTask : public MKCallable {
public:
    explicit AnswerTask(unsigned long answer) : answer_(answer) {}
    unsigned long Run() override
    {
        ran_on_ = GetCurrentThreadId();
        return answer_;
    }
    DWORD ran_on_ = 0;

private:
    unsigned long answer_;
};

TEST(Thread, RunOnThreadHandsBackAHandleToWaitOnAndTheResult)
{
    AnswerTask task(42);
    HANDLE thread = nullptr;
    ASSERT_TRUE(MKRunOnThread(&task, &thread));
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    Sleep(20);  // the thread has closed its own handle by now; ours stays valid
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 42u);
    EXPECT_NE(task.ran_on_, GetCurrentThreadId());
    EXPECT_TRUE(CloseHandle(thread));
}

TEST(Thread, SeveralThreadsJoin)
{
    AnswerTask tasks[] = {AnswerTask(1), AnswerTask(2), AnswerTask(3), AnswerTask(4)};
    HANDLE threads[4] = {};
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(MKRunOnThread(&tasks[i], &threads[i]));
    ASSERT_EQ(WaitForMultipleObjects(4, threads, TRUE, 5000), WAIT_OBJECT_0);
    for (int i = 0; i < 4; ++i) {
        DWORD code = 0;
        GetExitCodeThread(threads[i], &code);
        EXPECT_EQ(code, static_cast<DWORD>(i + 1));
        CloseHandle(threads[i]);
    }
}

TEST(Thread, NullTaskStartsNothing)
{
    HANDLE thread = INVALID_HANDLE_VALUE;
    EXPECT_FALSE(MKRunOnThread(nullptr, &thread));
    EXPECT_EQ(thread, nullptr);
}

class ThrowingTask : public MKCallable {
public:
    unsigned long Run() override { throw std::runtime_error("escapes"); }
};

TEST(Thread, ExceptionEscapingATaskEndsOnlyItsThread)
{
    ThrowingTask task;
    HANDLE thread = nullptr;
    ASSERT_TRUE(MKRunOnThread(&task, &thread));
    ASSERT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    EXPECT_EQ(code, static_cast<DWORD>(-1));
    CloseHandle(thread);
}

// Leaves a record in the thread-information slot, as a thread waiter would.
class RecordLeavingTask : public MKCallable {
public:
    HANDLE event = nullptr;
    unsigned long Run() override
    {
        auto* record = static_cast<HANDLE*>(MKAlloc(sizeof(HANDLE) * 2));
        event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        record[0] = event;
        TlsSetValue(MKThreadInfoSlot(), record);
        return 0;
    }
};

TEST(Thread, TaskThreadClosesItsThreadRecord)
{
    ASSERT_TRUE(MKThreadInfoInit());
    RecordLeavingTask task;
    HANDLE thread = nullptr;
    ASSERT_TRUE(MKRunOnThread(&task, &thread));
    ASSERT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    CloseHandle(thread);
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(task.event, &flags));
    MKThreadInfoTerm();
    EXPECT_EQ(MKThreadInfoSlot(), TLS_OUT_OF_INDEXES);
}

}  // namespace
