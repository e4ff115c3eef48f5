#include "addin/hosting/ResourceStream.h"
#include "base/MKMemInStream.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {

// An input stream that fails with an error other than the end of the data.
class BrokenStream : public MKMemInStream {
public:
    int Read(void*, int) override
    {
        SetError(-5);
        return -1;
    }
};

TEST(ResourceStream, ReadsInPiecesThenAnswersFalseAtTheEnd)
{
    const char data[] = "0123456789";
    auto* input = new MKMemInStream(data, 10);
    auto* stream = new ResourceStream(input);
    stream->AddRef();
    input->Release();  // the creator lets go at once; the stream keeps it

    struct Step {
        HRESULT result;
        ULONG read;
        const char* bytes;
    } steps[] = {{S_OK, 4, "0123"}, {S_OK, 4, "4567"}, {S_OK, 2, "89"}, {S_FALSE, 0, ""}, {S_FALSE, 0, ""}};
    for (const Step& step : steps) {
        char buffer[4] = {};
        ULONG read = 99;
        EXPECT_EQ(stream->Read(buffer, 4, &read), step.result);
        EXPECT_EQ(read, step.read);
        EXPECT_EQ(memcmp(buffer, step.bytes, step.read), 0);
    }
    EXPECT_EQ(stream->Release(), 0u);
}

TEST(ResourceStream, RefusesBadCallsAndOffersOnlyReading)
{
    const char data[] = "abc";
    auto* input = new MKMemInStream(data, 3);
    auto* stream = new ResourceStream(input);
    stream->AddRef();
    char buffer[4];
    EXPECT_EQ(stream->Read(nullptr, 4, nullptr), E_FAIL);
    EXPECT_EQ(stream->Read(buffer, 4, nullptr), S_OK);  // no count wanted

    STATSTG stat;
    EXPECT_EQ(stream->Stat(&stat, STATFLAG_NONAME), E_NOTIMPL);
    LARGE_INTEGER zero = {};
    EXPECT_EQ(stream->Seek(zero, STREAM_SEEK_SET, nullptr), E_NOTIMPL);
    EXPECT_EQ(stream->Write(buffer, 1, nullptr), E_NOTIMPL);
    IStream* clone = nullptr;
    EXPECT_EQ(stream->Clone(&clone), E_NOTIMPL);

    void* out = nullptr;
    EXPECT_EQ(stream->QueryInterface(IID_IStream, &out), S_OK);
    EXPECT_EQ(out, static_cast<IStream*>(stream));
    static_cast<IStream*>(out)->Release();
    EXPECT_EQ(stream->QueryInterface(IID_ISequentialStream, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(stream->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    stream->Release();
    // The input stream outlives the resource stream.
    EXPECT_EQ(input->Tell(), 3);
    input->Release();
}

TEST(ResourceStream, AFailingSourceGivesEFail)
{
    auto* input = new BrokenStream();
    auto* stream = new ResourceStream(input);
    stream->AddRef();
    input->Release();
    char buffer[4];
    ULONG read = 7;
    EXPECT_EQ(stream->Read(buffer, 4, &read), E_FAIL);
    EXPECT_EQ(read, 0u);
    stream->Release();

    auto* empty = new ResourceStream(nullptr);
    empty->AddRef();
    EXPECT_EQ(empty->Read(buffer, 4, &read), E_FAIL);
    empty->Release();
}

}  // namespace
