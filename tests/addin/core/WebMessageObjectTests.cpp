// The kernel's web-message object by DISPID: argument errors, the request
// tree read from memory, the query text, and POSTs to a loopback server
// whose logged request bodies and replies (good, 500, garbage, cut short)
// are checked against the oracle's envelopes.
#include "WebMessageSupport.h"

#include "fixtures/LoopbackHttpServer.h"
#include "fixtures/VariantArgs.h"

#include "addin/core/MessageCodec.h"
#include "addin/core/ValueTree.h"
#include "addin/core/WebMessageObject.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using webmsg::Bytes;
using webmsg::ReadFixture;

VARIANT Int64Arg(LONGLONG value)
{
    VARIANT arg = TypedArg(VT_I8);
    arg.llVal = value;
    return arg;
}

LONGLONG AddressOf(const void* bytes)
{
    return static_cast<LONGLONG>(reinterpret_cast<UINT_PTR>(bytes));
}

class WebMessageTest : public ::testing::Test {
protected:
    WebMessageTest() : object(new WebMessageObject()) { object->AddRef(); }
    ~WebMessageTest() override { object->Release(); }

    // Invoke with the arguments in declared order.
    HRESULT Call(DISPID id, std::vector<VARIANT> args, VARIANT* result = nullptr)
    {
        std::vector<VARIANT> reversed(args.rbegin(), args.rend());
        DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(args.size()), 0};
        if (result)
            VariantInit(result);
        return object->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, result, nullptr, nullptr);
    }
    bool CallBool(DISPID id, std::vector<VARIANT> args = {})
    {
        VARIANT result;
        EXPECT_EQ(Call(id, args, &result), S_OK);
        EXPECT_EQ(result.vt, VT_BOOL);
        return result.boolVal == VARIANT_TRUE;
    }
    long Status()
    {
        VARIANT result;
        EXPECT_EQ(Call(8, {}, &result), S_OK);
        EXPECT_EQ(result.vt, VT_I4);
        return result.lVal;
    }
    std::wstring QueryText()
    {
        VARIANT result;
        EXPECT_EQ(Call(3, {}, &result), S_OK);
        EXPECT_EQ(result.vt, VT_BSTR);
        std::wstring text = result.bstrVal ? result.bstrVal : L"";
        VariantClear(&result);
        return text;
    }
    void SetUrl(const std::wstring& url)
    {
        VARIANT arg = TypedArg(VT_BSTR);
        arg.bstrVal = SysAllocString(url.c_str());
        EXPECT_EQ(Call(1, {arg}), S_OK);
        SysFreeString(arg.bstrVal);
    }
    bool SetTree(const Bytes& binary)
    {
        return CallBool(2, {Int64Arg(AddressOf(binary.data())), IntArg(static_cast<long>(binary.size()))});
    }
    // The answer of DISPID 9: the tree's binary form, or nothing with the
    // address 0 and the length -1.
    bool Response(Bytes* binary)
    {
        LONGLONG address = 1234;
        long length = 5678;
        VARIANT addressArg = TypedArg(VT_BYREF | VT_I8);
        addressArg.pllVal = &address;
        VARIANT lengthArg = TypedArg(VT_BYREF | VT_I4);
        lengthArg.plVal = &length;
        EXPECT_EQ(Call(9, {addressArg, lengthArg}), S_OK);
        binary->clear();
        if (address == 0) {
            EXPECT_EQ(length, -1);
            return false;
        }
        const uint8_t* bytes = reinterpret_cast<const uint8_t*>(static_cast<UINT_PTR>(address));
        binary->assign(bytes, bytes + length);
        CoTaskMemFree(const_cast<uint8_t*>(bytes));
        return true;
    }
    // Polls until the transfer is no longer busy, at most 10 s.
    void WaitWhileBusy()
    {
        for (int i = 0; i < 1000 && CallBool(6); ++i) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&message);
            Sleep(10);
        }
        EXPECT_FALSE(CallBool(6));
    }

    IDispatch* object;
};

TEST_F(WebMessageTest, AnswersItsOwnInterface)
{
    const IID expected = {0x0880D36F, 0x00C7, 0x411C, {0x81, 0xA7, 0xDB, 0xC3, 0xCE, 0xA1, 0x68, 0x10}};
    EXPECT_TRUE(IsEqualIID(WebMessageObject::kIdentity, expected));
    IUnknown* same = nullptr;
    ASSERT_EQ(object->QueryInterface(expected, reinterpret_cast<void**>(&same)), S_OK);
    EXPECT_EQ(same, static_cast<IUnknown*>(object));
    same->Release();
}

TEST_F(WebMessageTest, ArgumentErrors)
{
    LONGLONG address = 0;
    long length = 0;
    VARIANT addressRef = TypedArg(VT_BYREF | VT_I8);
    addressRef.pllVal = &address;
    VARIANT lengthRef = TypedArg(VT_BYREF | VT_I4);
    lengthRef.plVal = &length;
    VARIANT nullAddressRef = TypedArg(VT_BYREF | VT_I8);
    VARIANT text = TypedArg(VT_BSTR);
    struct Case {
        DISPID id;
        std::vector<VARIANT> args;
        HRESULT expected;
    };
    const std::vector<Case> cases = {
        {0, {}, DISP_E_MEMBERNOTFOUND},
        {10, {}, DISP_E_MEMBERNOTFOUND},
        {-1, {}, DISP_E_MEMBERNOTFOUND},
        {1, {}, DISP_E_BADPARAMCOUNT},
        {1, {text, text}, DISP_E_BADPARAMCOUNT},
        {1, {IntArg(1)}, DISP_E_BADVARTYPE},
        {2, {Int64Arg(0)}, DISP_E_BADPARAMCOUNT},
        {2, {IntArg(0), IntArg(1)}, DISP_E_BADVARTYPE},
        {2, {Int64Arg(0), Int64Arg(1)}, DISP_E_BADVARTYPE},
        {3, {IntArg(1)}, DISP_E_BADPARAMCOUNT},
        {4, {IntArg(1)}, DISP_E_BADPARAMCOUNT},
        {5, {IntArg(1)}, DISP_E_BADPARAMCOUNT},
        {6, {IntArg(1)}, DISP_E_BADPARAMCOUNT},
        {7, {IntArg(1)}, DISP_E_BADPARAMCOUNT},
        {8, {IntArg(1)}, DISP_E_BADPARAMCOUNT},
        {9, {addressRef}, DISP_E_BADPARAMCOUNT},
        {9, {Int64Arg(0), lengthRef}, DISP_E_BADVARTYPE},
        {9, {addressRef, IntArg(0)}, DISP_E_BADVARTYPE},
        {9, {nullAddressRef, lengthRef}, E_POINTER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "DISPID " << c.id << " with " << c.args.size() << " arguments");
        VARIANT result;
        EXPECT_EQ(Call(c.id, c.args, &result), c.expected);
        EXPECT_EQ(result.vt, VT_EMPTY);
    }
    EXPECT_EQ(length, 0);
}

TEST_F(WebMessageTest, WithoutTreeOrRequestEverythingAnswersEmpty)
{
    EXPECT_EQ(QueryText(), L"");
    EXPECT_FALSE(CallBool(4));
    EXPECT_FALSE(CallBool(6));
    EXPECT_FALSE(CallBool(7));
    EXPECT_EQ(Status(), 0);
    Bytes answer;
    EXPECT_FALSE(Response(&answer));
    EXPECT_EQ(Call(5, {}), S_OK);
    // Results are written only where wanted.
    EXPECT_EQ(Call(4, {}), S_OK);
}

TEST_F(WebMessageTest, TheRequestTreeIsReadFromReadableMemoryOnly)
{
    Bytes sample = ReadFixture(L"sample.bin");
    ASSERT_FALSE(sample.empty());
    Bytes leaf = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 'x'};
    LONGLONG address = AddressOf(sample.data());
    long size = static_cast<long>(sample.size());
    struct Case {
        const char* what;
        LONGLONG address;
        long length;
    };
    const Case refused[] = {
        {"no address", 0, size},
        {"no length", address, 0},
        {"negative length", address, -1},
        {"unmapped address", 16, size},
        {"length beyond the mapping", address, 0x7FFFFFF0},
        {"high bits alone", LONGLONG(0x100000000), size},
        {"a leaf root", AddressOf(leaf.data()), static_cast<long>(leaf.size())},
        {"cut short", address, size - 1},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(CallBool(2, {Int64Arg(c.address), IntArg(c.length)}));
        EXPECT_EQ(QueryText(), L"");
    }
    // The address is taken from its low 32 bits, however it was widened.
    ASSERT_TRUE(CallBool(2, {Int64Arg(address | LONGLONG(0xFFFFFFFF00000000ull)), IntArg(size)}));
    std::wstring text = QueryText();
    Bytes payload;
    ASSERT_TRUE(webmsg::DecodeQueryText(text, &payload));
    EXPECT_EQ(payload, webmsg::FromText("name=Caf%C3%A9+%3C1%3E+%26+%222%22+%27x%27%09%E2%82%AC&b=v"));
    // A refused read keeps the tree that was set.
    EXPECT_FALSE(CallBool(2, {Int64Arg(AddressOf(leaf.data())), IntArg(static_cast<long>(leaf.size()))}));
    ASSERT_TRUE(webmsg::DecodeQueryText(QueryText(), &payload));
    EXPECT_EQ(payload, webmsg::FromText("name=Caf%C3%A9+%3C1%3E+%26+%222%22+%27x%27%09%E2%82%AC&b=v"));
}

std::string AsString(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

std::string Reply(const char* statusLine, const std::string& body, size_t announced)
{
    return std::string(statusLine) + "\r\nContent-Length: " + std::to_string(announced) +
           "\r\nConnection: close\r\n\r\n" + body;
}

TEST_F(WebMessageTest, APostSendsTheTreeAndReadsTheAnswer)
{
    Bytes sample = ReadFixture(L"sample.bin");
    std::string answer = AsString(ReadFixture(L"sample_response.msg"));
    ASSERT_FALSE(answer.empty());
    LoopbackHttpServer server;
    ASSERT_TRUE(server.Start({LoopbackHttpServer::Ok(answer), 0, -1, 0, false}));
    SetUrl(server.Url(L"/messages"));
    ASSERT_TRUE(SetTree(sample));
    ASSERT_TRUE(CallBool(4));
    // A second send while the first stands sends nothing.
    EXPECT_TRUE(CallBool(4));
    WaitWhileBusy();
    EXPECT_TRUE(CallBool(7));
    EXPECT_EQ(Status(), 200);
    Bytes tree;
    ASSERT_TRUE(Response(&tree));
    EXPECT_EQ(tree, sample);
    // The answer may be read again.
    ASSERT_TRUE(Response(&tree));
    EXPECT_EQ(tree, sample);

    std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string& request = requests[0];
    EXPECT_EQ(request.compare(0, 20, "POST /messages HTTP/"), 0) << request;
    EXPECT_NE(request.find("User-Agent: Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 6.0)\r\n"), std::string::npos);
    EXPECT_NE(request.find("Content-Type: application/octet-stream\r\n"), std::string::npos);
    size_t headEnd = request.find("\r\n\r\n");
    ASSERT_NE(headEnd, std::string::npos);
    Bytes body(request.begin() + static_cast<std::ptrdiff_t>(headEnd) + 4, request.end());
    EXPECT_NE(request.find("Content-Length: " + std::to_string(body.size()) + "\r\n"), std::string::npos);
    ASSERT_TRUE(MessageCodec::HasMagic(body.data(), static_cast<int>(body.size())));
    MKByteArray payload;
    ASSERT_TRUE(MessageCodec::Decode(body.data(), static_cast<int>(body.size()), MessageCodec::kRequestKey, payload));
    EXPECT_EQ(webmsg::ToBytes(payload), ReadFixture(L"sample.xml"));

    // Closing keeps URL and tree: the next send is a new POST.
    EXPECT_EQ(Call(5, {}), S_OK);
    EXPECT_FALSE(CallBool(7));
    EXPECT_EQ(Status(), 0);
    EXPECT_FALSE(Response(&tree));
    ASSERT_TRUE(CallBool(4));
    WaitWhileBusy();
    EXPECT_EQ(Status(), 200);
    EXPECT_EQ(server.Requests().size(), 2u);
}

TEST_F(WebMessageTest, BadAnswersGiveNoTree)
{
    std::string good = AsString(ReadFixture(L"sample_response.msg"));
    ASSERT_FALSE(good.empty());
    struct Case {
        const wchar_t* path;
        std::string reply;
        long status;  // -1: the transfer may end either way
    };
    const std::vector<Case> cases = {
        {L"/e500", Reply("HTTP/1.1 500 Internal Server Error", good, good.size()), 500},
        {L"/garbage", Reply("HTTP/1.1 200 OK", std::string(300, 'g'), 300), 200},
        {L"/magic", Reply("HTTP/1.1 200 OK", good.substr(0, 5), 5), 200},
        {L"/cut", Reply("HTTP/1.1 200 OK", good.substr(0, good.size() / 2), good.size()), -1},
        {L"/halfenvelope", Reply("HTTP/1.1 200 OK", good.substr(0, good.size() / 2), good.size() / 2), 200},
        {L"/leaf", LoopbackHttpServer::Ok(AsString(ReadFixture(L"leaf_root.msg"))), 200},
        {L"/request", LoopbackHttpServer::Ok(AsString(ReadFixture(L"request_key.msg"))), 200},
        {L"/empty", Reply("HTTP/1.1 200 OK", "", 0), 200},
    };
    LoopbackHttpServer server;
    for (const Case& c : cases) {
        std::wstring path(c.path);
        server.SetReplyFor(std::string(path.begin(), path.end()), {c.reply, 0, -1, 0, false});
    }
    ASSERT_TRUE(server.Start({LoopbackHttpServer::Ok(good), 0, -1, 0, false}));
    ASSERT_TRUE(SetTree(ReadFixture(L"sample.bin")));
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.path);
        SetUrl(server.Url(c.path));
        ASSERT_TRUE(CallBool(4));
        WaitWhileBusy();
        if (c.status >= 0) {
            EXPECT_TRUE(CallBool(7));
            EXPECT_EQ(Status(), c.status);
        }
        Bytes tree;
        EXPECT_FALSE(Response(&tree));
        EXPECT_EQ(Call(5, {}), S_OK);
    }
}

TEST_F(WebMessageTest, ReleasingTheObjectEndsARunningTransfer)
{
    LoopbackHttpServer server;
    ASSERT_TRUE(server.Start({"", 0, -1, 0, true}));
    SetUrl(server.Url(L"/stall"));
    ASSERT_TRUE(SetTree(ReadFixture(L"sample.bin")));
    ASSERT_TRUE(CallBool(4));
    ASSERT_TRUE(server.WaitForRequests(1, 10000));
    EXPECT_TRUE(CallBool(6));
    EXPECT_FALSE(CallBool(7));
    EXPECT_EQ(Status(), 0);
    object->Release();
    object = new WebMessageObject();
    object->AddRef();
    server.Stop();
}

}  // namespace
