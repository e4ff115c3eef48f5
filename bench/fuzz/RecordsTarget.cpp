// The update engine's records: the per-user "Preferences" and "User" (usage)
// records, mutated in their plain form and sealed again before each read so
// mutations get past the digest, and the updater folder's files (ready, state,
// command, result, automatic run, history and the installation journal), read
// from the scratch folder as the installation folder; and the update check's
// reply, read against an empty plug-in list.
#include <windows.h>

#include <cstring>
#include <string>
#include <utility>

#include "FuzzScratch.h"
#include "FuzzTarget.h"
#include "addin/update/AutoRunRecord.h"
#include "addin/update/CommandRecord.h"
#include "addin/update/InstallJournal.h"
#include "addin/update/InstalledPlugins.h"
#include "addin/update/Preferences.h"
#include "addin/update/ReadyRecord.h"
#include "addin/update/RecordEnvelope.h"
#include "addin/update/ResultRecord.h"
#include "addin/update/StateRecord.h"
#include "addin/update/UpdateClock.h"
#include "addin/update/UpdateHistory.h"
#include "addin/update/UpdateProtocol.h"
#include "addin/update/UpdaterFolder.h"
#include "addin/update/UsageStore.h"

namespace {

// The records' own mask bytes (RecordEnvelope.h), as the Python oracle
// tests/fixtures/update_records.py knows them too.
const uint8_t kPreferencesMask = 0xA7;
const uint8_t kUsageMask = 0x5C;

// Updater folder files by the input kind that names them.
const wchar_t* const kUpdaterFiles[][2] = {
    {L"ready", L"ready.dat"},   {L"state", L"state.dat"},     {L"cmd", L"cmd.dat"},
    {L"result", L"result.dat"}, {L"auto", L"auto.dat"},       {L"history", L"history.dat"},
    {L"journal", L"journal.dat"},
};

MKString Installation()
{
    return MKString(FuzzScratchFolder().c_str());
}

FuzzInput Plain(MKByteArray& record, uint8_t mask, const char* kind)
{
    FuzzInput input{{}, kind};
    if (OpenRecord(record, mask))
        input.bytes.assign(record.GetData(), record.GetData() + record.GetCount());
    return input;
}

void AddSeeds(const std::wstring& fixtures, std::vector<FuzzInput>& seeds)
{
    Preferences preferences;
    const uint8_t blob[] = {1, 2, 3, 4, 5, 6, 7, 8};
    preferences.SetBlob(blob, int(sizeof blob));
    preferences.SetUpdateFrequency(3);
    MKByteArray record;
    if (preferences.WriteRecord(0x1234, record))
        seeds.push_back(Plain(record, kPreferencesMask, "preferences"));
    UsageStore usage;
    usage.Reset();
    record.RemoveAll();
    if (usage.WriteRecord(0x5678, record))
        seeds.push_back(Plain(record, kUsageMask, "usage"));
    // The Python oracle's records, good and damaged: those that open.
    const std::pair<const wchar_t*, uint8_t> sealed[] = {{L"prefs_*.bin", kPreferencesMask},
                                                         {L"usage_*.bin", kUsageMask}};
    for (const auto& [pattern, mask] : sealed) {
        std::vector<FuzzInput> files;
        AddSeedFilesMatching(fixtures + L"\\update", pattern, "", files);
        for (const FuzzInput& file : files) {
            MKByteArray stored;
            if (!stored.Assign(file.bytes.data(), int(file.bytes.size())))
                continue;
            FuzzInput input = Plain(stored, mask, mask == kPreferencesMask ? "preferences" : "usage");
            if (!input.bytes.empty())
                seeds.push_back(input);
        }
    }
    // Check replies: setups offered, settings asked for, nothing.
    const char* const replies[] = {
        "check_for_updates_result_1\n{\"Version\": Version(\"4.1\"), \"DisableAutoCheck\": true, "
        "\"UpdateCheckFreq\": 3, \"Setups\": [{\"InternalName\": \"Updater\", "
        "\"Guid\": Guid(\"{C8D778F4-5666-4DE3-82BF-F55F5AF17CB4}\"), \"Version\": Version(\"1.1\"), "
        "\"Size\": 100, \"Action\": \"Install\"}, {\"InternalName\": \"Kernel\", "
        "\"Guid\": Guid(\"{6D1E0C7A-1B2C-4D3E-8F90-A1B2C3D4E5F6}\"), \"Version\": Version(\"2.0.1\"), "
        "\"Size\": 7000000, \"Action\": \"Install\"}]}",
        "check_for_updates_result_1\nnull",
        "check_for_updates_result_1\n{\"UpdateCheckFreq\": 17}",
    };
    for (const char* reply : replies)
        seeds.push_back({std::vector<uint8_t>(reply, reply + strlen(reply)), "reply"});
    // A journal as an installation leaves it, written where the reads go.
    const MKString folder = Installation();
    CreateDirectoryW(GetUpdaterFolder(folder).GetText(), nullptr);
    {
        InstallJournal journal(folder);
        MKString kept = GetUpdaterFolder(folder);
        journal.KeepRecordFile(MKString((std::wstring(FuzzScratchFolder()) + L"\\plugins.dat").c_str()));
        if (journal.Save(InstallJournal::Recording)) {
            FuzzInput input{{}, "journal"};
            if (ReadInputFile(std::wstring(kept.GetText()) + L"\\journal.dat", input.bytes))
                seeds.push_back(input);
        }
        journal.Remove();
    }
    for (const auto& file : kUpdaterFiles) {
        const std::string kind(file[0], file[0] + wcslen(file[0]));
        AddSeedFilesMatching(fixtures + L"\\update\\records", (std::wstring(file[0]) + L"*.bin").c_str(),
                             kind.c_str(), seeds);
        for (const wchar_t* folder : {L"\\update\\installer\\updater", L"\\update\\transaction\\updater"})
            AddSeedFilesMatching(fixtures + folder, file[1], kind.c_str(), seeds);
    }
}

void ReadSealed(const FuzzInput& input, uint8_t mask)
{
    MKByteArray record;
    if (input.bytes.size() < size_t(kRecordEnvelopeSize) ||
        !record.Assign(input.bytes.data(), int(input.bytes.size())))
        return;
    uint32_t seed;
    memcpy(&seed, input.bytes.data(), 4);
    if (!SealRecord(record, seed, mask))
        return;
    if (mask == kPreferencesMask) {
        Preferences preferences;
        preferences.ReadRecord(record);
    } else {
        UsageStore usage;
        usage.ReadRecord(record);
    }
}

void Run(const FuzzInput& input)
{
    if (input.kind == "preferences")
        return ReadSealed(input, kPreferencesMask);
    if (input.kind == "usage")
        return ReadSealed(input, kUsageMask);
    const MKString folder = Installation();
    if (input.kind == "reply") {
        MKByteArray body;
        if (!body.Assign(input.bytes.data(), int(input.bytes.size())))
            return;
        InstalledPlugins installed(folder);
        ReadyRecord ready(folder);
        CheckReplyEffects effects;
        ParseCheckReply(body, installed, MKDateTime(), ready, effects);
        return;
    }
    CreateDirectoryW(GetUpdaterFolder(folder).GetText(), nullptr);
    for (const auto& file : kUpdaterFiles) {
        if (input.kind != std::string(file[0], file[0] + wcslen(file[0])))
            continue;
        const std::wstring path = std::wstring(GetUpdaterFolder(folder).GetText()) + L"\\" + file[1];
        if (!WriteScratchFile(path, input.bytes))
            return;
        if (input.kind == "ready") {
            ReadyRecord ready(folder);
            ready.Load();
        } else if (input.kind == "state") {
            StateRecord state(folder, SystemUpdateClock());
            state.Load();
        } else if (input.kind == "cmd") {
            int32_t value = 0;
            MKString text;
            ReadCommandFile(folder, &value, &text);
        } else if (input.kind == "result") {
            int32_t step = 0, error = 0;
            bool prepare = false;
            MKString message;
            ReadResultFile(folder, &step, &prepare, &error, &message);
        } else if (input.kind == "auto") {
            MKGuid run;
            ReadAutoRunFile(folder, &run);
        } else if (input.kind == "history") {
            UpdateHistory history(folder);
            history.Load();
        } else {
            InstallJournal journal(folder);
            journal.Load();
        }
    }
}

}  // namespace

const FuzzTarget& RecordsTarget()
{
    static const FuzzTarget target = {"records", AddSeeds, Run, nullptr};
    return target;
}
