#include "RecordFixtures.h"

#include "addin/update/UsageDay.h"
#include "fixtures/Fixtures.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fixture {
const wchar_t kGuid[] = L"0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0";
const uint8_t kBlob[15] = {'p', 'l', 'u', 'g', '-', 'i', 'n', ' ', 'b', 'l', 'o', 'b', 0x00, 0xFF, 0x10};

int64_t CreatedTicks()
{
    return MKDateTime::TicksFromDate(2015, 3, 14) + 9 * 3600 * MKDateTime::kTicksPerSecond;
}
}  // namespace fixture

Bytes ToBytes(const MKByteArray& array)
{
    return Bytes(array.GetData(), array.GetData() + array.GetCount());
}

void ToArray(const Bytes& bytes, MKByteArray& array)
{
    array.Assign(bytes.data(), static_cast<int>(bytes.size()));
}

Bytes ReadRecordFixture(const std::wstring& name)
{
    std::ifstream file(std::filesystem::path(FixturePath((L"update\\" + name + L".bin").c_str())), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::string> ReadFixtureLines(const wchar_t* name)
{
    std::ifstream file(std::filesystem::path(FixturePath((std::wstring(L"update\\") + name).c_str())));
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        if (!line.empty())
            lines.push_back(line);
    return lines;
}

Bytes FromHex(const std::string& hex)
{
    Bytes bytes;
    for (size_t i = 0; hex != "-" && i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

std::string Hex(const uint8_t* bytes, int n)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (int i = 0; i < n; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

std::string GuidText(const MKGuid& guid)
{
    MKString text = guid.FormatUpper();
    return std::string(text.GetText(), text.GetText() + text.GetLength());
}

void FixedClock::SetDay(int32_t usageDay, int hours)
{
    MKDateTime local = UsageDayDate(usageDay).AddScaled(hours, 3600000.0);
    m_utc = MKDateTime(local.GetTicks(), MKDateTimeLocal).ToUniversalTime();
}

bool MemoryRecordStore::Read(const Bytes& from, MKByteArray& bytes)
{
    bytes.RemoveAll();
    if (failReads)
        return false;
    ToArray(from, bytes);
    return true;
}

bool MemoryRecordStore::Write(Bytes& to, const MKByteArray& bytes)
{
    if (failWrites)
        return false;
    ++writes;
    to = ToBytes(bytes);
    return true;
}

namespace {

// The written folder starts empty in every run of the executable.
std::wstring WrittenFolder()
{
    static const std::wstring folder = [] {
        std::wstring path = FixturePath(L"update\\written");
        CreateDirectoryW(path.c_str(), nullptr);
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileW((path + L"\\" + found.cFileName).c_str());
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        return path;
    }();
    return folder;
}

}  // namespace

void HandRecordToOracle(RecordKind kind, const std::wstring& file, const Bytes& bytes,
                        const std::string& expectations)
{
    std::wstring folder = WrittenFolder();
    std::ofstream out(std::filesystem::path(folder + L"\\" + file), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::string name(file.begin(), file.end());
    std::string body = expectations.substr(expectations.find('{') + 1);
    std::ofstream manifest(std::filesystem::path(folder + L"\\manifest.jsonl"), std::ios::app);
    manifest << "{\"file\": \"" << name << "\", \"kind\": \""
             << (kind == RecordKind::Preferences ? "preferences" : kind == RecordKind::Usage ? "usage" : "plugins") << "\"" << (body.size() > 1 ? ", " : "")
             << body << "\n";
}
