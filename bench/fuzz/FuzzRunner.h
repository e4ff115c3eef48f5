#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "FuzzTarget.h"
#include "Mutator.h"

struct FuzzOptions {
    int seconds = 600;
    int slowMs = 1000;     // an input read slower than this is reported
    int hangMs = 60000;    // one this slow ends the run (the process cannot recover it)
    uint32_t seed = 1;
    std::wstring findings;  // folder for the inputs worth keeping
};

// Runs mutated inputs through one target in this process until the time is up.
// A fault inside the reader is caught by the crash guard, reported with its
// code and faulting address (module and offset) and its input saved; the run
// goes on. Also reported: inputs slower than the bound, and the largest single
// heap request any input made (with that input saved).
class FuzzRunner {
public:
    FuzzRunner(const FuzzTarget& target, std::vector<FuzzInput> seeds, const FuzzOptions& options);

    // 0 when nothing was found, 1 when a crash or slow input was.
    int Run();
    // Reads each input once (saved findings, say) and reports its time and
    // largest allocation; the same answer as Run.
    int Replay(const std::vector<FuzzInput>& inputs);

private:
    // Reads one input and reports what it found; answers the largest single
    // heap request the input made.
    size_t RunOne(const FuzzInput& input);
    void Start();
    std::wstring Save(const char* what, const FuzzInput& input);
    void PrintStatus(const char* label) const;
    static DWORD WINAPI Watch(void* runner);
    static void OnAbort(int);

    const FuzzTarget& target_;
    std::vector<FuzzInput> seeds_;
    FuzzOptions options_;
    Mutator mutator_;
    uint64_t inputs_ = 0;
    uint64_t crashes_ = 0;
    uint64_t slow_ = 0;
    uint64_t saved_ = 0;
    double slowestMs_ = 0;
    size_t largest_ = 0;
    DWORD started_ = 0;
    // The input being read and when it started (0: none), for the watchdog.
    const FuzzInput* volatile current_ = nullptr;
    volatile DWORD currentStart_ = 0;
    double lastMs_ = 0;
};
