#pragma once
#include "fixtures/ChildProcess.h"

#include <string>
#include <thread>

// This test executable run again as a helper process for one task in a
// folder (the tasks are in UpdaterChild.cpp); its exit code is the task's.
ChildProcessResult RunUpdaterChild(const std::wstring& task, const std::wstring& folder,
                                   const std::wstring& argument = std::wstring());

// A helper running beside the test; Join waits for its end.
class UpdaterChild {
public:
    UpdaterChild(const std::wstring& task, const std::wstring& folder, const std::wstring& argument = std::wstring());
    ~UpdaterChild() { Join(); }
    const ChildProcessResult& Join();

private:
    ChildProcessResult m_result;
    std::thread m_thread;
};

// Waits up to 30 s for a flag file; true when it appeared.
bool WaitForFlag(const std::wstring& path);
void SetFlag(const std::wstring& path);
