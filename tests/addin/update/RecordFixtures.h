#pragma once
#include "addin/update/UpdateClock.h"
#include "addin/update/UserRecordStore.h"
#include "base/MKGuid.h"
#include "base/MKTArray.h"

#include <stdint.h>
#include <string>
#include <vector>

// What update_fixtures.py put into the records it made (keep in step).
namespace fixture {
extern const wchar_t kGuid[];
extern const uint8_t kBlob[15];
const uint32_t kSeed = 0x12345678;
const int32_t kSavedDay = 5000;
const int32_t kEffectId = 0x123456;
// 2015-03-14 09:00 UTC.
int64_t CreatedTicks();
}  // namespace fixture

using Bytes = std::vector<uint8_t>;

Bytes ToBytes(const MKByteArray& array);
void ToArray(const Bytes& bytes, MKByteArray& array);
// A record made by update_fixtures.py (build/fixtures/update/NAME.bin).
Bytes ReadRecordFixture(const std::wstring& name);
// A text fixture of the same folder, line by line.
std::vector<std::string> ReadFixtureLines(const wchar_t* name);
Bytes FromHex(const std::string& hex);

// Local midnight of a usage day plus some hours, as UTC; the time can be moved.
class FixedClock : public UpdateClock {
public:
    explicit FixedClock(int32_t usageDay, int hours = 10) { SetDay(usageDay, hours); }
    void SetDay(int32_t usageDay, int hours = 10);
    void SetUtc(const MKDateTime& utc) { m_utc = utc; }
    MKDateTime UtcNow() const override { return m_utc; }

private:
    MKDateTime m_utc;
};

// The two records in memory; reads and writes can be made to fail, and
// writes are counted.
class MemoryRecordStore : public UserRecordStore {
public:
    bool ReadPreferences(MKByteArray& bytes) override { return Read(preferences, bytes); }
    bool WritePreferences(const MKByteArray& bytes) override { return Write(preferences, bytes); }
    bool ReadUser(MKByteArray& bytes) override { return Read(user, bytes); }
    bool WriteUser(const MKByteArray& bytes) override { return Write(user, bytes); }

    Bytes preferences;
    Bytes user;
    bool failReads = false;
    bool failWrites = false;
    int writes = 0;

private:
    bool Read(const Bytes& from, MKByteArray& bytes);
    bool Write(Bytes& to, const MKByteArray& bytes);
};

// Records the C++ side wrote, for the oracle to decode after the test run
// (update_fixtures.py check): the bytes go to build/fixtures/update/written,
// the expectations (one JSON object, without "file") to its manifest.
enum class RecordKind { Preferences, Usage, Plugins };
void HandRecordToOracle(RecordKind kind, const std::wstring& file, const Bytes& bytes,
                        const std::string& expectations);

std::string Hex(const uint8_t* bytes, int n);
// Upper-case dashed text, as the oracle prints GUIDs.
std::string GuidText(const MKGuid& guid);
