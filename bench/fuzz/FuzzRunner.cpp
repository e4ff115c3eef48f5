#include "FuzzRunner.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "base/MKCrashGuard.h"
#include "base/MKSeh.h"
#include "fixtures/AllocationProbe.h"

namespace {

FuzzRunner* g_runner = nullptr;

// "module+0xoffset" for an address in a loaded module, else the address.
std::string DescribeAddress(uintptr_t address)
{
    char text[MAX_PATH + 32];
    HMODULE module = nullptr;
    wchar_t path[MAX_PATH];
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(address), &module) &&
        GetModuleFileNameW(module, path, MAX_PATH)) {
        const wchar_t* name = wcsrchr(path, L'\\');
        snprintf(text, sizeof text, "0x%08lx (%ls+0x%lx)", static_cast<unsigned long>(address), name ? name + 1 : path,
                 static_cast<unsigned long>(address - reinterpret_cast<uintptr_t>(module)));
    } else {
        snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(address));
    }
    return text;
}

}  // namespace

FuzzRunner::FuzzRunner(const FuzzTarget& target, std::vector<FuzzInput> seeds, const FuzzOptions& options)
    : target_(target), seeds_(std::move(seeds)), options_(options), mutator_(seeds_, options.seed)
{
}

void FuzzRunner::Start()
{
    g_runner = this;
    MKSehInstall(nullptr);
    std::signal(SIGABRT, OnAbort);
    CreateDirectoryW(options_.findings.c_str(), nullptr);
    started_ = GetTickCount();
    if (HANDLE watchdog = CreateThread(nullptr, 0, Watch, this, 0, nullptr))
        CloseHandle(watchdog);
}

int FuzzRunner::Replay(const std::vector<FuzzInput>& inputs)
{
    Start();
    for (const FuzzInput& input : inputs) {
        const size_t largest = RunOne(input);
        printf("replay %s: %s input of %u bytes, %.0f ms, largest single allocation %u bytes\n", target_.name,
               input.kind.c_str(), unsigned(input.bytes.size()), lastMs_, unsigned(largest));
    }
    fflush(stdout);
    return crashes_ || slow_ ? 1 : 0;
}

int FuzzRunner::Run()
{
    Start();
    printf("fuzz %s: %d seeds, %d s, seed %u, slow bound %d ms, findings in %ls\n", target_.name,
           int(seeds_.size()), options_.seconds, options_.seed, options_.slowMs, options_.findings.c_str());
    fflush(stdout);

    // The seeds themselves first, then mutations until the time is up.
    for (const FuzzInput& seed : seeds_)
        RunOne(seed);
    DWORD lastStatus = GetTickCount();
    const DWORD duration = DWORD(options_.seconds) * 1000;
    while (GetTickCount() - started_ < duration) {
        FuzzInput input = mutator_.Next();
        if (target_.fixUp)
            target_.fixUp(input);
        RunOne(input);
        if (GetTickCount() - lastStatus >= 60000) {
            lastStatus = GetTickCount();
            PrintStatus("progress");
        }
    }
    current_ = nullptr;
    PrintStatus("done");
    return crashes_ || slow_ ? 1 : 0;
}

size_t FuzzRunner::RunOne(const FuzzInput& input)
{
    static MKExceptionInfo s_info;
    AllocationProbe probe;
    const DWORD start = GetTickCount();
    LARGE_INTEGER t0, t1, frequency;
    QueryPerformanceCounter(&t0);
    currentStart_ = start ? start : 1;
    current_ = &input;
    const bool completed = MKCrashGuard(s_info, [&] { target_.run(input); });
    current_ = nullptr;
    QueryPerformanceCounter(&t1);
    QueryPerformanceFrequency(&frequency);
    const double ms = double(t1.QuadPart - t0.QuadPart) * 1000.0 / double(frequency.QuadPart);
    ++inputs_;

    if (!completed) {
        ++crashes_;
        const CONTEXT* context = reinterpret_cast<const CONTEXT*>(s_info.context);
        const std::wstring file = Save("crash", input);
        printf("CRASH: code 0x%08lx (%ls) at %s, %s input of %u bytes, saved as %ls\n",
               static_cast<unsigned long>(s_info.code), s_info.description,
               s_info.code == -1 ? "(a C++ exception)" : DescribeAddress(context->Eip).c_str(), input.kind.c_str(),
               unsigned(input.bytes.size()), file.c_str());
        fflush(stdout);
    }
    if (ms > options_.slowMs) {
        ++slow_;
        const std::wstring file = Save("slow", input);
        printf("SLOW: %.0f ms for a %s input of %u bytes, saved as %ls\n", ms, input.kind.c_str(),
               unsigned(input.bytes.size()), file.c_str());
        fflush(stdout);
    }
    if (ms > slowestMs_)
        slowestMs_ = ms;
    lastMs_ = ms;
    if (probe.Largest() > largest_) {
        largest_ = probe.Largest();
        Save("largest", input);
    }
    return probe.Largest();
}

std::wstring FuzzRunner::Save(const char* what, const FuzzInput& input)
{
    // Kinds that are file extensions name the file, so --replay can tell them.
    const char* extension = !input.kind.empty() && input.kind[0] == '.' && input.kind.size() < 8 ? input.kind.c_str() : ".bin";
    wchar_t name[64];
    if (strcmp(what, "largest") == 0)
        swprintf(name, 64, L"\\%hs-%hs%hs", target_.name, what, extension);
    else
        swprintf(name, 64, L"\\%hs-%hs-%llu%hs", target_.name, what, static_cast<unsigned long long>(++saved_),
                 extension);
    const std::wstring path = options_.findings + name;
    if (FILE* file = _wfopen(path.c_str(), L"wb")) {
        fwrite(input.bytes.data(), 1, input.bytes.size(), file);
        fclose(file);
    }
    return path;
}

void FuzzRunner::PrintStatus(const char* label) const
{
    const double seconds = double(GetTickCount() - started_) / 1000.0;
    printf("%s %s: %.0f s, %llu inputs (%.0f/s), %llu crashes, %llu slow (slowest %.0f ms), "
           "largest single allocation %u bytes\n",
           label, target_.name, seconds, static_cast<unsigned long long>(inputs_), double(inputs_) / seconds,
           static_cast<unsigned long long>(crashes_), static_cast<unsigned long long>(slow_), slowestMs_,
           unsigned(largest_));
    fflush(stdout);
}

// An input that never ends cannot be taken back from the reader: it is saved
// and the run ends with what it found so far.
DWORD WINAPI FuzzRunner::Watch(void* parameter)
{
    FuzzRunner* runner = static_cast<FuzzRunner*>(parameter);
    for (;;) {
        Sleep(500);
        const FuzzInput* input = runner->current_;
        const DWORD start = runner->currentStart_;
        if (input && GetTickCount() - start > DWORD(runner->options_.hangMs)) {
            const std::wstring file = runner->Save("hang", *input);
            printf("HANG: a %s input of %u bytes ran over %d ms, saved as %ls\n", input->kind.c_str(),
                   unsigned(input->bytes.size()), runner->options_.hangMs, file.c_str());
            runner->PrintStatus("stopped");
            ExitProcess(2);
        }
    }
}

void FuzzRunner::OnAbort(int)
{
    if (g_runner && g_runner->current_) {
        const std::wstring file = g_runner->Save("abort", *g_runner->current_);
        printf("ABORT: a %s input of %u bytes ended the process, saved as %ls\n", g_runner->current_->kind.c_str(),
               unsigned(g_runner->current_->bytes.size()), file.c_str());
        g_runner->PrintStatus("stopped");
    }
    ExitProcess(3);
}
