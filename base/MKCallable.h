#pragma once

// A task that runs on a thread of its own (MKRunOnThread). The task must
// outlive its thread; Run's answer becomes the thread's exit code.
class MKCallable {
public:
    MKCallable() = default;
    virtual ~MKCallable() = default;
    MKCallable(const MKCallable&) = delete;
    MKCallable& operator=(const MKCallable&) = delete;

    virtual unsigned long Run() = 0;
};
