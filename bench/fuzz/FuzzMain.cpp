// Mutation fuzzing of the readers of stored data, one target per process:
//   fuzz.exe TARGET [--seconds N] [--slow MS] [--seed N] [--fixtures DIR] [--findings DIR]
//   fuzz.exe TARGET --replay FILE [--replay FILE ...]
// TARGET is one of the names listed by Usage. Seeds come from the fixture
// writers and from the build's fixture folder (default: ..\fixtures beside the
// program's folder); inputs worth keeping go to --findings (default:
// fuzz-findings beside the program). --replay reads saved inputs once each; a
// file's extension gives its kind (the picture format for images). Readers
// change files only in a scratch folder of their own (FileCallGuard.h); a
// refused call makes the run answer 1 like a crash.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "FileCallGuard.h"
#include "FuzzRunner.h"
#include "FuzzScratch.h"
#include "FuzzTarget.h"

namespace {

const FuzzTarget* const* Targets()
{
    static const FuzzTarget* const targets[] = {
        &ImageTarget(),         &MovieTarget(),         &ValueTarget(),       &DocumentTarget(),
        &UpdatePackageTarget(), &ModulePackageTarget(), &PluginListTarget(),  &SetupPayloadTarget(),
        &ValueTreeTarget(),     &TagDataTarget(),       &RecordsTarget(),     &ControlRecordTarget(),
        &SwfHeaderTarget(),     nullptr};
    return targets;
}

const FuzzTarget* FindTarget(const std::string& name)
{
    for (const FuzzTarget* const* target = Targets(); *target; ++target) {
        if (name == (*target)->name)
            return *target;
    }
    return nullptr;
}

// Paths on the command line are plain ASCII (Wine's Z: drive, say).
std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.rfind(L'\\'));
}

FuzzInput ReplayInput(const std::string& path)
{
    FuzzInput input;
    const size_t dot = path.rfind('.');
    input.kind = dot == std::string::npos ? ".bin" : path.substr(dot);
    if (!ReadInputFile(Wide(path), input.bytes))
        fprintf(stderr, "cannot read %s\n", path.c_str());
    return input;
}

int Usage()
{
    fprintf(stderr, "usage: fuzz TARGET [--seconds N] [--slow MS] [--seed N] [--fixtures DIR] [--findings DIR]\n"
                    "       fuzz TARGET --replay FILE [--replay FILE ...]\n"
                    "targets:");
    for (const FuzzTarget* const* target = Targets(); *target; ++target)
        fprintf(stderr, " %s", (*target)->name);
    fprintf(stderr, "\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const FuzzTarget* target = FindTarget(argv[1]);
    if (!target)
        return Usage();
    FuzzOptions options;
    const std::wstring program = ProgramFolder();
    std::wstring fixtures = program.substr(0, program.rfind(L'\\')) + L"\\fixtures";
    options.findings = program + L"\\fuzz-findings";
    std::vector<FuzzInput> replays;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const char* value = argv[i + 1];
        if (option == "--seconds")
            options.seconds = atoi(value);
        else if (option == "--slow")
            options.slowMs = atoi(value);
        else if (option == "--seed")
            options.seed = uint32_t(strtoul(value, nullptr, 10));
        else if (option == "--fixtures")
            fixtures = Wide(value);
        else if (option == "--findings")
            options.findings = Wide(value);
        else if (option == "--replay")
            replays.push_back(ReplayInput(value));
        else
            return Usage();
    }
    GuardFileCalls(options.findings);
    int result;
    if (!replays.empty()) {
        result = FuzzRunner(*target, {}, options).Replay(replays);
    } else {
        std::vector<FuzzInput> seeds;
        target->addSeeds(fixtures, seeds);
        if (seeds.empty()) {
            fprintf(stderr, "no seeds for %s (fixtures folder %ls)\n", target->name, fixtures.c_str());
            return 2;
        }
        FuzzRunner runner(*target, std::move(seeds), options);
        result = runner.Run();
    }
    printf("%s: %llu file-changing calls refused outside the scratch folder\n", target->name,
           static_cast<unsigned long long>(RefusedFileCalls()));
    EmptyScratchFolder();
    RemoveDirectoryW(FuzzScratchFolder().c_str());
    return result == 0 && RefusedFileCalls() == 0 ? 0 : 1;
}
