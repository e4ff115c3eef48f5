#pragma once
#include <string>
#include <utility>
#include <vector>

// Runs a program to its end with extra environment variables, capturing what
// it writes to standard output and standard error (as 8-bit text).
struct ChildProcessResult {
    bool started = false;
    unsigned long exitCode = 0;
    std::string output;
};

ChildProcessResult RunChildProcess(const std::wstring& commandLine,
                                   const std::vector<std::pair<std::wstring, std::wstring>>& environment = {});

// Runs this test program again with a gtest filter and the extra variables.
ChildProcessResult RunThisTestProgram(const std::wstring& filter,
                                      const std::vector<std::pair<std::wstring, std::wstring>>& environment);
