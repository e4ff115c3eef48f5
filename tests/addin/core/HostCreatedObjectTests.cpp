// The HTTP request object of the .NET side, by DISPID, against a loopback
// server: the order of open and start, argument checks, the bytes of a POST,
// and the progress reaching the sink on the thread that owns the object.
#include "fixtures/LoopbackHttpServer.h"
#include "fixtures/VariantArgs.h"

#include "addin/core/HostCreatedObject.h"
#include "hostapi/PluginInterfaces.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ProgressSink final : public IHttpRequestSink {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IHttpRequestSink ? this : nullptr;
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs)); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(InterlockedDecrement(&refs)); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE OnProgress(LONGLONG address, long length, long low, long, long percentage) override
    {
        threads.push_back(GetCurrentThreadId());
        received.append(reinterpret_cast<const char*>(static_cast<UINT_PTR>(address)), static_cast<size_t>(length));
        contentLength = low;
        lastPercentage = percentage;
        return S_OK;
    }

    volatile LONG refs = 1;
    std::vector<DWORD> threads;
    std::string received;
    long contentLength = -1;
    long lastPercentage = -1;
};

class HostCreatedObjectTest : public ::testing::Test {
protected:
    HostCreatedObjectTest() : object(new HostCreatedObject(GetModuleHandleW(nullptr))) { object->AddRef(); }
    ~HostCreatedObjectTest() override { object->Release(); }

    HRESULT Call(DISPID id, std::vector<VARIANT> args, VARIANT* result = nullptr)
    {
        std::vector<VARIANT> reversed(args.rbegin(), args.rend());
        DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(args.size()), 0};
        if (result)
            VariantInit(result);
        return object->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, result, nullptr, nullptr);
    }
    long State()
    {
        VARIANT result;
        Call(8, {}, &result);
        return result.lVal;
    }
    // Pumps the thread's messages until the transfer ended, at most 10 s.
    long WaitForEnd()
    {
        for (int i = 0; i < 1000; ++i) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&message);
            long state = State();
            if (state >= 3)
                return state;
            Sleep(10);
        }
        return -1;
    }

    IDispatch* object;
};

VARIANT Text(const wchar_t* text)
{
    VARIANT value = TypedArg(VT_BSTR);
    value.bstrVal = SysAllocString(text);
    return value;
}

VARIANT Int64Arg(LONGLONG number)
{
    VARIANT value = TypedArg(VT_I8);
    value.llVal = number;
    return value;
}

TEST_F(HostCreatedObjectTest, OpenComesFirstAndOnlyOnce)
{
    VARIANT url = Text(L"http://127.0.0.1:1/");
    EXPECT_EQ(Call(6, {url, Int64Arg(0), IntArg(0)}), E_FAIL);
    EXPECT_EQ(Call(8, {}), E_FAIL);
    VARIANT result;
    ASSERT_EQ(Call(1, {}, &result), S_OK);
    EXPECT_EQ(result.vt, VT_BOOL);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);
    EXPECT_EQ(Call(1, {}), E_FAIL);
    EXPECT_EQ(Call(2, {}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Call(3, {IntArg(1)}), DISP_E_BADVARTYPE);
    EXPECT_EQ(Call(5, {IntArg(1)}), DISP_E_BADVARTYPE);
    EXPECT_EQ(Call(15, {}), DISP_E_MEMBERNOTFOUND);
    // A body address that names no memory is refused.
    EXPECT_EQ(Call(6, {url, Int64Arg(16), IntArg(4)}), E_INVALIDARG);
    EXPECT_EQ(Call(7, {}), S_OK);
    EXPECT_EQ(Call(7, {}), S_OK);
    EXPECT_EQ(Call(8, {}), E_FAIL);
    SysFreeString(url.bstrVal);
}

TEST_F(HostCreatedObjectTest, APostSendsItsBytesAndTheProgressComesOnTheOwningThread)
{
    LoopbackHttpServer server;
    ASSERT_TRUE(server.Start({LoopbackHttpServer::Ok("reply body"), 0, -1, 0, false}));
    ProgressSink sink;
    ASSERT_EQ(Call(1, {}), S_OK);
    VARIANT type = Text(L"text/plain");
    EXPECT_EQ(Call(4, {type}), S_OK);
    VARIANT sinkArg = TypedArg(VT_UNKNOWN);
    sinkArg.punkVal = &sink;
    EXPECT_EQ(Call(5, {sinkArg}), S_OK);
    const char body[] = "posted bytes";
    VARIANT url = Text(server.Url(L"/check").c_str());
    VARIANT result;
    ASSERT_EQ(Call(6, {url, Int64Arg(static_cast<LONGLONG>(reinterpret_cast<UINT_PTR>(body))), IntArg(12)}, &result),
              S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);
    EXPECT_EQ(WaitForEnd(), 3);
    Call(13, {}, &result);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
    Call(9, {}, &result);
    EXPECT_EQ(result.lVal, 200);
    Call(10, {}, &result);
    EXPECT_EQ(result.vt, VT_I8);
    EXPECT_EQ(result.llVal, 10);

    EXPECT_EQ(sink.received, "reply body");
    EXPECT_EQ(sink.contentLength, 10);
    EXPECT_EQ(sink.lastPercentage, 100);
    ASSERT_FALSE(sink.threads.empty());
    for (DWORD thread : sink.threads)
        EXPECT_EQ(thread, GetCurrentThreadId());

    std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string& request = requests[0];
    EXPECT_EQ(request.compare(0, 17, "POST /check HTTP/"), 0) << request;
    EXPECT_NE(request.find("User-Agent: Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 6.0)\r\n"), std::string::npos)
        << request;
    EXPECT_NE(request.find("Content-Type: text/plain\r\n"), std::string::npos) << request;
    EXPECT_EQ(request.substr(request.size() - 12), "posted bytes");

    EXPECT_EQ(Call(7, {}), S_OK);
    EXPECT_EQ(sink.refs, 1);
    SysFreeString(type.bstrVal);
    SysFreeString(url.bstrVal);
}

}  // namespace
