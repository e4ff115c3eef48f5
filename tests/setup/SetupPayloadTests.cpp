#include "setup/SetupPayload.h"

#include "fixtures/AllocationProbe.h"
#include "fixtures/Fixtures.h"
#include "setup/SetupTestSupport.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

// A file of the scratch folder opened for writing (or, to make writes fail,
// for reading only).
class OutputFile {
public:
    OutputFile(const ScratchFolder& folder, bool writable) : path_(folder.File(L"out.bin"))
    {
        handle_ = CreateFileW(path_.c_str(), writable ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    ~OutputFile() { Close(); }

    HANDLE Handle() const { return handle_; }
    std::vector<unsigned char> Bytes()
    {
        Close();
        return ReadBytes(path_);
    }

private:
    void Close()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

    std::wstring path_;
    HANDLE handle_;
};

struct BytesCase {
    const char* name;
    std::vector<unsigned char> payload;
    bool writable;
    int expected;
    std::vector<unsigned char> written;
};

class UnpackPayloadBytes : public testing::TestWithParam<BytesCase> {};

TEST_P(UnpackPayloadBytes, AnswersItsCode)
{
    const BytesCase& c = GetParam();
    ScratchFolder folder;
    OutputFile out(folder, c.writable);
    ASSERT_NE(out.Handle(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(UnpackPayload(c.payload.data(), DWORD(c.payload.size()), out.Handle()), c.expected);
    EXPECT_EQ(out.Bytes(), c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnpackPayloadBytes,
    testing::Values(BytesCase{"Empty", {}, true, kPayloadTooShort, {}},
                    BytesCase{"ThreeBytes", {0xFF, 0xFF, 0xFF}, true, kPayloadTooShort, {}},
                    BytesCase{"StoredEmpty", {0xFF, 0xFF, 0xFF, 0xFF}, true, 0, {}},
                    BytesCase{"Stored", {0xFF, 0xFF, 0xFF, 0xFF, 'M', 'Z', 0}, true, 0, {'M', 'Z', 0}},
                    BytesCase{"StoredUnwritable", {0xFF, 0xFF, 0xFF, 0xFF, 'M', 'Z'}, false, kStoredWriteFailed, {}},
                    BytesCase{"NoProperties", {4, 0, 0, 0, 0x5D, 0, 0, 0x20}, true, kCompressedTooShort, {}},
                    BytesCase{"PropertiesOutOfRange", {4, 0, 0, 0, 225, 0, 0, 0x20, 0}, true, kPropertiesRefused,
                              {}},
                    BytesCase{"NegativeSize", {0xFE, 0xFF, 0xFF, 0xFF, 0x5D, 0, 0, 0x20, 0, 0}, true,
                              kNoMemoryForInstaller, {}},
                    BytesCase{"MoreThanMemory", {0xFF, 0xFF, 0xFF, 0x7F, 0x5D, 0, 0, 0x20, 0, 0}, true,
                              kNoMemoryForInstaller, {}},
                    // One byte above the 64 MiB the installer program may take.
                    BytesCase{"AboveTheProgramBound", {0x01, 0x00, 0x00, 0x04, 0x5D, 0, 0, 0x20, 0, 0}, true,
                              kNoMemoryForInstaller, {}},
                    // A stream of nothing cannot give four bytes.
                    BytesCase{"StreamMissing", {4, 0, 0, 0, 0x5D, 0, 0, 0x20, 0}, true, kDecodingFailed, {}}),
    [](const testing::TestParamInfo<BytesCase>& info) { return std::string(info.param.name); });

struct FixtureCase {
    const wchar_t* fixture;
    bool writable;
    int expected;
};

class UnpackPayloadFixtures : public testing::TestWithParam<FixtureCase> {};

TEST_P(UnpackPayloadFixtures, WritesTheWholeProgramOrNothing)
{
    const FixtureCase& c = GetParam();
    std::vector<unsigned char> payload = ReadBytes(FixturePath(c.fixture));
    std::vector<unsigned char> program = ReadBytes(TestsBinPath(L"setup_echo_installer.exe"));
    ASSERT_FALSE(payload.empty());
    ASSERT_FALSE(program.empty());
    ScratchFolder folder;
    OutputFile out(folder, c.writable);
    ASSERT_NE(out.Handle(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(UnpackPayload(payload.data(), DWORD(payload.size()), out.Handle()), c.expected);
    if (c.expected == 0)
        EXPECT_EQ(out.Bytes(), program);
    else
        EXPECT_TRUE(out.Bytes().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, UnpackPayloadFixtures,
                         testing::Values(FixtureCase{L"setup_payload_lzma.bin", true, 0},
                                         FixtureCase{L"setup_payload_stored.bin", true, 0},
                                         FixtureCase{L"setup_payload_lzma.bin", false, kUnpackedWriteFailed},
                                         FixtureCase{L"setup_payload_truncated.bin", true, kDecodingFailed},
                                         // Decodes cleanly to its end marker, short of the stated size.
                                         FixtureCase{L"setup_payload_early_end.bin", true, kDecodingFailed},
                                         // Goes on past the stated size: its first bytes are no program.
                                         FixtureCase{L"setup_payload_long_stream.bin", true, kDecodingFailed},
                                         FixtureCase{L"setup_payload_bad_properties.bin", true, kPropertiesRefused},
                                         FixtureCase{L"setup_payload_negative_size.bin", true,
                                                     kNoMemoryForInstaller}));

// Nine bytes stating a large program are refused before the program's
// memory is taken from the heap.
TEST(UnpackPayloadBound, ASizeAboveTheBoundReservesNothing)
{
    ScratchFolder folder;
    OutputFile out(folder, true);
    ASSERT_NE(out.Handle(), INVALID_HANDLE_VALUE);
    for (uint32_t n : {0x04000001u, 0x10000000u, 0x40000000u, 0x7FFFFFFFu}) {
        SCOPED_TRACE(n);
        unsigned char payload[9] = {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24), 0x5D, 0, 0, 0x20, 0};
        AllocationProbe probe;
        EXPECT_EQ(UnpackPayload(payload, sizeof(payload), out.Handle()), kNoMemoryForInstaller);
        EXPECT_LT(probe.Largest(), size_t(1 << 20));
    }
    EXPECT_TRUE(out.Bytes().empty());
}

}  // namespace
