#include "BaseTestSupport.h"
#include "fixtures/LoopbackHttpServer.h"

#include "base/MKCriticalSection.h"
#include "base/MKHostCache.h"
#include "base/MKHostLookup.h"
#include "base/MKHttpConnection.h"
#include "base/MKHttpErrorText.h"
#include "base/MKHttpRequest.h"
#include "base/MKHttpSendOptions.h"
#include "base/MKMemOutStream.h"
#include "base/MKWinInetApi.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

bool IsFinal(int state)
{
    return state == MKHttpRequest::kDone || state == MKHttpRequest::kError || state == MKHttpRequest::kCancelled;
}

// Polls like the request's owners do, every 10 ms, for at most timeoutMs.
int WaitForEnd(MKHttpRequest& request, int timeoutMs = 10000)
{
    int state = request.GetState();
    for (int waited = 0; !IsFinal(state) && waited < timeoutMs; waited += 10) {
        Sleep(10);
        state = request.GetState();
    }
    return state;
}

std::string Pattern(size_t n)
{
    std::string bytes(n, '\0');
    for (size_t i = 0; i < n; ++i)
        bytes[i] = char('a' + i * 7 % 26);
    return bytes;
}

std::string Body(const MKHttpRequest& request)
{
    const MKByteArray& body = request.GetResponseBody();
    return std::string(reinterpret_cast<const char*>(body.GetData()), size_t(body.GetCount()));
}

MKString ErrorTextOf(DWORD code)
{
    HMODULE wininet = LoadLibraryW(L"wininet.dll");
    MKString text = MKHttpErrorText(code, wininet);
    FreeLibrary(wininet);
    return text;
}

// Each test gets the process's host cache, as the add-in's module start makes it.
class Http : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(MKHostCache::Create()); }
    void TearDown() override { MKHostCache::Destroy(); }

    // Starts the server with the reply and a request to the path on it.
    void Fetch(MKHttpRequest& request, const LoopbackHttpServer::Reply& reply, const wchar_t* path = L"/")
    {
        ASSERT_TRUE(m_server.Start(reply));
        ASSERT_TRUE(request.Start(MKString(m_server.Url(path).c_str()), nullptr, 0));
    }

    LoopbackHttpServer m_server;
};

TEST(HttpOptions, FlagsFollowCacheSchemeAndCertificates)
{
    EXPECT_EQ(0x84400F00u, MKHttpRequestFlags(false, false, false));
    EXPECT_EQ(0x00400E00u, MKHttpRequestFlags(true, false, false));
    EXPECT_EQ(0x84C00F00u, MKHttpRequestFlags(false, true, false));
    EXPECT_EQ(0x84C03F00u, MKHttpRequestFlags(false, true, true));
    EXPECT_EQ(0x00C03E00u, MKHttpRequestFlags(true, true, true));
    EXPECT_EQ(0x00400E00u, MKHttpRequestFlags(true, false, true));  // exemptions only matter when encrypted
}

TEST(HttpOptions, ExtraHeaderText)
{
    uint32_t noCache = MKHttpRequestFlags(false, false, false);
    uint32_t cache = MKHttpRequestFlags(true, false, false);
    EXPECT_EQ(L"Content-Type: application/x-www-form-urlencoded\r\nCache-Control: no-cache",
              Text(MKHttpExtraHeaders(true, MKString(), noCache)));
    EXPECT_EQ(L"Content-Type: text/xml", Text(MKHttpExtraHeaders(true, MKString(L"text/xml"), cache)));
    EXPECT_EQ(L"Cache-Control: no-cache", Text(MKHttpExtraHeaders(false, MKString(L"text/xml"), noCache)));
    EXPECT_EQ(L"", Text(MKHttpExtraHeaders(false, MKString(), cache)));
}

TEST_F(Http, GetReadsExactlyTheContentLength)
{
    std::string body = Pattern(1024);
    MKHttpRequest request;
    request.SetUserAgent(MKString(L"VistelloTest/1.0"));
    LoopbackHttpServer::Reply reply;
    reply.bytes = LoopbackHttpServer::Ok(body);
    Fetch(request, reply, L"/update/check?a=1&b=two");
    ASSERT_EQ(MKHttpRequest::kDone, WaitForEnd(request)) << Text(request.GetErrorText());
    EXPECT_EQ(200, request.GetStatusCode());
    EXPECT_EQ(1024, request.GetContentLength());
    EXPECT_EQ(1024, request.GetBytesReceived());
    EXPECT_TRUE(Body(request) == body);
    EXPECT_EQ(L"", Text(request.GetErrorText()));
    std::wstring headers = Text(request.GetResponseHeaders());
    EXPECT_EQ(0u, headers.find(L"HTTP/1.1 200 OK\r\n")) << headers;
    EXPECT_NE(std::wstring::npos, headers.find(L"\r\nContent-Length: 1024\r\n")) << headers;

    std::vector<std::string> requests = m_server.Requests();
    ASSERT_EQ(1u, requests.size());
    const std::string& sent = requests[0];
    EXPECT_EQ(0u, sent.find("GET /update/check?a=1&b=two HTTP/1.1\r\n")) << sent;
    EXPECT_NE(std::string::npos, sent.find("\r\nUser-Agent: VistelloTest/1.0\r\n")) << sent;
    EXPECT_NE(std::string::npos, sent.find("\r\nCache-Control: no-cache\r\n")) << sent;
    EXPECT_EQ(std::string::npos, sent.find("Content-Type:")) << sent;
    EXPECT_EQ(sent.size() - 4, sent.find("\r\n\r\n")) << "a GET carries no body";
}

TEST_F(Http, ShortBodyIsATruncatedTransfer)
{
    MKHttpRequest request;
    LoopbackHttpServer::Reply reply;
    reply.bytes = "HTTP/1.1 200 OK\r\nContent-Length: 1024\r\n\r\n" + Pattern(100);
    Fetch(request, reply);
    ASSERT_EQ(MKHttpRequest::kError, WaitForEnd(request));
    EXPECT_EQ(L"Truncated Transfer", Text(request.GetErrorText()));
    EXPECT_EQ(1024, request.GetContentLength());
    EXPECT_EQ(100, request.GetBytesReceived());
    EXPECT_EQ(200, request.GetStatusCode());
}

TEST_F(Http, BodyWithoutContentLengthEndsDone)
{
    MKHttpRequest request;
    LoopbackHttpServer::Reply reply;
    reply.bytes = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + Pattern(70000);
    Fetch(request, reply);
    ASSERT_EQ(MKHttpRequest::kDone, WaitForEnd(request)) << Text(request.GetErrorText());
    EXPECT_EQ(-1, request.GetContentLength());
    EXPECT_EQ(70000, request.GetBytesReceived());
    EXPECT_TRUE(Body(request) == Pattern(70000));
}

TEST_F(Http, LongerBodyThanAnnouncedEndsDone)
{
    MKHttpRequest request;
    LoopbackHttpServer::Reply reply;
    reply.bytes = "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n" + Pattern(20);
    Fetch(request, reply);
    ASSERT_EQ(MKHttpRequest::kDone, WaitForEnd(request)) << Text(request.GetErrorText());
    EXPECT_GE(request.GetBytesReceived(), 10);
    EXPECT_EQ(0u, Pattern(20).find(Body(request)));
}

TEST_F(Http, ErrorStatusIsAFinishedTransfer)
{
    MKHttpRequest request;
    LoopbackHttpServer::Reply reply;
    reply.bytes = "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found";
    Fetch(request, reply);
    ASSERT_EQ(MKHttpRequest::kDone, WaitForEnd(request));
    EXPECT_EQ(404, request.GetStatusCode());
    EXPECT_EQ("not found", Body(request));
}

TEST_F(Http, PostSendsTheExactHeaderText)
{
    struct Case {
        const wchar_t* contentType;
        bool allowCache;
        const char* headers;  // the extra header lines as they must arrive
    } cases[] = {
        {L"", false, "\r\nContent-Type: application/x-www-form-urlencoded\r\nCache-Control: no-cache\r\n"},
        {L"text/xml; charset=utf-8", true, "\r\nContent-Type: text/xml; charset=utf-8\r\n"},
    };
    for (const Case& c : cases) {
        LoopbackHttpServer server;
        LoopbackHttpServer::Reply reply;
        reply.bytes = LoopbackHttpServer::Ok("ok");
        ASSERT_TRUE(server.Start(reply));
        MKHttpRequest request;
        request.SetContentType(MKString(c.contentType));
        request.SetAllowCache(c.allowCache);
        const char body[] = "name=a+b&x=%C3%A9";
        ASSERT_TRUE(request.Start(MKString(server.Url(L"/post").c_str()), body, int(sizeof body - 1)));
        ASSERT_EQ(MKHttpRequest::kDone, WaitForEnd(request)) << Text(request.GetErrorText());
        EXPECT_EQ("ok", Body(request));
        std::vector<std::string> requests = server.Requests();
        ASSERT_EQ(1u, requests.size());
        const std::string& sent = requests[0];
        EXPECT_EQ(0u, sent.find("POST /post HTTP/1.1\r\n")) << sent;
        EXPECT_NE(std::string::npos, sent.find(c.headers)) << sent;
        EXPECT_EQ(c.allowCache ? std::string::npos : sent.find("Cache-Control"), sent.find("Cache-Control"));
        EXPECT_NE(std::string::npos, sent.find("\r\nContent-Length: 17\r\n")) << sent;
        EXPECT_EQ(sent.size() - 17, sent.find("\r\n\r\nname=a+b&x=%C3%A9") + 4) << sent;
    }
}

TEST_F(Http, EmptyBodyMakesAGet)
{
    MKHttpRequest request;
    LoopbackHttpServer::Reply reply;
    reply.bytes = LoopbackHttpServer::Ok("x");
    ASSERT_TRUE(m_server.Start(reply));
    const char body[] = "ignored";
    ASSERT_TRUE(request.Start(MKString(m_server.Url(L"/").c_str()), body, 0));
    ASSERT_EQ(MKHttpRequest::kDone, WaitForEnd(request));
    ASSERT_EQ(1u, m_server.Requests().size());
    EXPECT_EQ(0u, m_server.Requests()[0].find("GET / HTTP/1.1\r\n"));
}

TEST_F(Http, StartNeedsTheLastTransferEnded)
{
    MKHttpRequest request;
    LoopbackHttpServer::Reply reply;
    reply.bytes = LoopbackHttpServer::Ok("first");
    reply.delayMs = 300;
    Fetch(request, reply);
    MKString url(m_server.Url(L"/").c_str());
    EXPECT_FALSE(request.Start(url, nullptr, 0)) << "a transfer runs";
    // Bytes received stay -1 until the late response arrives.
    ASSERT_TRUE(m_server.WaitForRequests(1, 5000));
    EXPECT_EQ(MKHttpRequest::kStarted, request.GetState());
    EXPECT_EQ(-1, request.GetBytesReceived());
    ASSERT_EQ(MKHttpRequest::kDone, WaitForEnd(request));
    EXPECT_FALSE(request.Start(url, nullptr, 0)) << "the finished transfer is still attached";
    request.Cancel();
    EXPECT_EQ(MKHttpRequest::kDone, request.GetState());
    EXPECT_EQ("first", Body(request));
    ASSERT_TRUE(request.Start(url, nullptr, 0));
    EXPECT_EQ(0, request.GetResponseBody().GetCount());
    ASSERT_EQ(MKHttpRequest::kDone, WaitForEnd(request));
    EXPECT_EQ("first", Body(request));
}

TEST_F(Http, CancelOnAStalledServerReturnsWithinTheWait)
{
    MKHttpRequest request;
    LoopbackHttpServer::Reply reply;
    reply.stall = true;
    Fetch(request, reply);
    ASSERT_TRUE(m_server.WaitForRequests(1, 5000));
    EXPECT_EQ(MKHttpRequest::kStarted, request.GetState());
    DWORD start = GetTickCount();
    request.Cancel();
    DWORD elapsed = GetTickCount() - start;
    // 3000 ms for the thread to notice, 1000 ms more for it to end.
    EXPECT_LE(elapsed, DWORD(MKHttpRequest::kCancelWaitMs + 1000 + 300));
    EXPECT_EQ(MKHttpRequest::kCancelled, request.GetState());
    m_server.Stop();  // the abandoned thread's call fails now; it must not touch the request

    // The request starts again at once.
    LoopbackHttpServer second;
    reply = LoopbackHttpServer::Reply();
    reply.bytes = LoopbackHttpServer::Ok("again");
    ASSERT_TRUE(second.Start(reply));
    ASSERT_TRUE(request.Start(MKString(second.Url(L"/").c_str()), nullptr, 0));
    ASSERT_EQ(MKHttpRequest::kDone, WaitForEnd(request));
    EXPECT_EQ("again", Body(request));
}

TEST_F(Http, CancelWhileReceiving)
{
    MKHttpRequest request;
    LoopbackHttpServer::Reply reply;
    reply.bytes = LoopbackHttpServer::Ok(Pattern(4000));
    reply.pauseAt = int(reply.bytes.size()) - 2000;
    reply.pauseMs = 20000;
    Fetch(request, reply);
    int state = request.GetState();
    for (int waited = 0; state != MKHttpRequest::kReceiving && waited < 5000; waited += 10) {
        Sleep(10);
        state = request.GetState();
    }
    ASSERT_EQ(MKHttpRequest::kReceiving, state);
    DWORD start = GetTickCount();
    request.Cancel();
    EXPECT_LE(GetTickCount() - start, DWORD(MKHttpRequest::kCancelWaitMs + 1000 + 300));
    EXPECT_EQ(MKHttpRequest::kCancelled, request.GetState());
    EXPECT_EQ(4000, request.GetContentLength());
}

// Takes blocks until it holds `limit` bytes, then refuses.
class LimitedStream : public MKMemOutStream {
public:
    explicit LimitedStream(int limit) : m_limit(limit) {}
    bool Write(const void* data, int n) override { return GetCount() + n <= m_limit && MKMemOutStream::Write(data, n); }

private:
    int m_limit;
};

TEST_F(Http, BodyGoesToTheOutputStream)
{
    std::string body = Pattern(100000);
    LimitedStream stream(1 << 20);
    MKHttpRequest request;
    request.SetOutputStream(&stream);
    LoopbackHttpServer::Reply reply;
    reply.bytes = LoopbackHttpServer::Ok(body);
    Fetch(request, reply);
    ASSERT_EQ(MKHttpRequest::kDone, WaitForEnd(request)) << Text(request.GetErrorText());
    EXPECT_EQ(0, request.GetResponseBody().GetCount());
    ASSERT_EQ(100000, stream.GetCount());
    EXPECT_EQ(0, memcmp(stream.GetData(), body.data(), body.size()));
}

TEST_F(Http, RefusedOutputEndsInError)
{
    LimitedStream stream(10);
    MKHttpRequest request;
    request.SetOutputStream(&stream);
    LoopbackHttpServer::Reply reply;
    reply.bytes = LoopbackHttpServer::Ok(Pattern(1000));
    Fetch(request, reply);
    ASSERT_EQ(MKHttpRequest::kError, WaitForEnd(request));
    EXPECT_EQ(L"Internal Output Stream Error", Text(request.GetErrorText()));
}

struct Progress {
    std::string received;
    std::vector<int> percentages;
    uint32_t lengthLow = 0;
    uint32_t lengthHigh = 1;
    int refuseAfter = -1;  // calls before answering 0
};

int OnProgress(void* data, const uint8_t* block, int length, uint32_t low, uint32_t high, int percentage)
{
    Progress* progress = static_cast<Progress*>(data);
    progress->received.append(reinterpret_cast<const char*>(block), size_t(length));
    progress->percentages.push_back(percentage);
    progress->lengthLow = low;
    progress->lengthHigh = high;
    return progress->refuseAfter < 0 || int(progress->percentages.size()) <= progress->refuseAfter;
}

TEST_F(Http, ProgressCallbackSeesEveryBlock)
{
    std::string body = Pattern(200000);
    Progress progress;
    MKHttpRequest request;
    request.SetProgressCallback(OnProgress, &progress);
    LoopbackHttpServer::Reply reply;
    reply.bytes = LoopbackHttpServer::Ok(body);
    Fetch(request, reply);
    ASSERT_EQ(MKHttpRequest::kDone, WaitForEnd(request)) << Text(request.GetErrorText());
    EXPECT_TRUE(progress.received == body);
    EXPECT_EQ(0, request.GetResponseBody().GetCount());
    EXPECT_EQ(200000u, progress.lengthLow);
    EXPECT_EQ(0u, progress.lengthHigh);
    ASSERT_FALSE(progress.percentages.empty());
    for (size_t i = 1; i < progress.percentages.size(); ++i)
        EXPECT_LE(progress.percentages[i - 1], progress.percentages[i]);
    EXPECT_EQ(100, progress.percentages.back());
}

TEST_F(Http, ProgressWithoutLengthAndRefusal)
{
    Progress progress;
    progress.refuseAfter = 0;
    MKHttpRequest request;
    request.SetProgressCallback(OnProgress, &progress);
    LoopbackHttpServer::Reply reply;
    reply.bytes = "HTTP/1.0 200 OK\r\n\r\n" + Pattern(5000);
    Fetch(request, reply);
    ASSERT_EQ(MKHttpRequest::kError, WaitForEnd(request));
    EXPECT_EQ(L"Internal Output Stream Error", Text(request.GetErrorText()));
    ASSERT_EQ(1u, progress.percentages.size());
    EXPECT_EQ(0, progress.percentages[0]);  // no Content-Length: no percentage
    EXPECT_EQ(0xFFFFFFFFu, progress.lengthLow);
    EXPECT_EQ(0xFFFFFFFFu, progress.lengthHigh);
}

TEST_F(Http, HostLookupFillsTheCache)
{
    uint32_t address = 0;
    int error = -1;
    EXPECT_FALSE(MKHostCache::Lookup(MKString(L"localhost"), &address, &error));
    MKHostLookup lookup;
    ASSERT_TRUE(lookup.Start(MKString(L"localhost"), nullptr));
    for (int i = 0; i < 300 && !lookup.Pump(); ++i)
        Sleep(10);
    ASSERT_TRUE(lookup.Pump());
    EXPECT_EQ(0, lookup.GetError());
    EXPECT_EQ(0x0100007Fu, lookup.GetAddress());
    ASSERT_TRUE(MKHostCache::Lookup(MKString(L"localhost"), &address, &error));
    EXPECT_EQ(0x0100007Fu, address);
    EXPECT_EQ(0, error);

    // A second lookup of the host is answered from the cache at once.
    MKHostCache::Store(MKString(L"localhost"), 0x04030201, 0);
    MKHostLookup again;
    ASSERT_TRUE(again.Start(MKString(L"localhost"), nullptr));
    EXPECT_TRUE(again.Pump());
    EXPECT_EQ(0x04030201u, again.GetAddress());
}

TEST_F(Http, CachedLookupFailureFailsTheRepeatedHostAtOnce)
{
    LoopbackHttpServer::Reply reply;
    reply.bytes = LoopbackHttpServer::Ok("x");
    ASSERT_TRUE(m_server.Start(reply));
    MKString url((L"http://localhost:" + std::to_wstring(m_server.Port()) + L"/").c_str());

    MKHttpRequest first;
    ASSERT_TRUE(first.Start(url, nullptr, 0));
    ASSERT_EQ(MKHttpRequest::kDone, WaitForEnd(first)) << Text(first.GetErrorText());
    uint32_t address;
    int error;
    ASSERT_TRUE(MKHostCache::Lookup(MKString(L"localhost"), &address, &error));

    // The cached answer for the host is used, not a new lookup: a failure
    // stored for it fails the next transfer before any connection.
    MKHostCache::Store(MKString(L"localhost"), 0, 11001);
    MKHttpRequest second;
    DWORD start = GetTickCount();
    ASSERT_TRUE(second.Start(url, nullptr, 0));
    ASSERT_EQ(MKHttpRequest::kError, WaitForEnd(second));
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_EQ(Text(ErrorTextOf(12007)), Text(second.GetErrorText()));
    EXPECT_EQ(1, m_server.ConnectionCount());
}

TEST_F(Http, RefusedConnectionIsAnError)
{
    LoopbackHttpServer closed;
    LoopbackHttpServer::Reply reply;
    ASSERT_TRUE(closed.Start(reply));
    MKString url(closed.Url(L"/").c_str());
    closed.Stop();
    MKHttpRequest request;
    ASSERT_TRUE(request.Start(url, nullptr, 0));
    ASSERT_EQ(MKHttpRequest::kError, WaitForEnd(request));
    EXPECT_FALSE(request.GetErrorText().IsEmpty());
    EXPECT_EQ(-1, request.GetStatusCode());
}

TEST_F(Http, HttpsUrlIsEncryptedWhateverThePort)
{
    LoopbackHttpServer::Reply reply;
    reply.bytes = LoopbackHttpServer::Ok("plain");
    ASSERT_TRUE(m_server.Start(reply));
    MKHttpRequest request;
    MKString url((L"https://127.0.0.1:" + std::to_wstring(m_server.Port()) + L"/").c_str());
    ASSERT_TRUE(request.Start(url, nullptr, 0));
    ASSERT_EQ(MKHttpRequest::kError, WaitForEnd(request));
    // What reached the plain server was the start of a TLS handshake (record
    // type 22), not a plain HTTP request.
    std::vector<std::string> requests = m_server.Requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(0x16, requests[0][0]);
    EXPECT_EQ(std::string::npos, requests[0].find("GET "));
}

TEST_F(Http, BodyOverTheLimitIsCutOffWithAClearError)
{
    const int limit = 100000;  // three full 32 KB blocks and part of a fourth
    std::string unannounced = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n";
    struct Case {
        const char* name;
        std::string reply;
        int state;
        size_t keptAtMost;
    } cases[] = {
        {"exactly the limit", LoopbackHttpServer::Ok(Pattern(limit)), MKHttpRequest::kDone, size_t(limit)},
        // Refused on its announced length: nothing of the body is read.
        {"announced above", LoopbackHttpServer::Ok(Pattern(limit + 1)), MKHttpRequest::kError, 0},
        // No length: cut off by the block that would pass the limit.
        {"unannounced above", unannounced + Pattern(3 * limit), MKHttpRequest::kError, size_t(limit)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackHttpServer server;
        LoopbackHttpServer::Reply reply;
        reply.bytes = c.reply;
        ASSERT_TRUE(server.Start(reply));
        MKHttpRequest request;
        request.SetBodyLimit(limit);
        ASSERT_TRUE(request.Start(MKString(server.Url(L"/").c_str()), nullptr, 0));
        ASSERT_EQ(c.state, WaitForEnd(request));
        EXPECT_LE(size_t(request.GetResponseBody().GetCount()), c.keptAtMost);
        // Growth by half at most: the memory held stays near the limit.
        EXPECT_LE(request.GetResponseBody().GetCapacity(), limit + limit / 2);
        if (c.state == MKHttpRequest::kDone) {
            EXPECT_TRUE(Body(request) == Pattern(limit));
        } else {
            EXPECT_EQ(L"Response Too Large", Text(request.GetErrorText()));
        }
        request.Cancel();
    }
}

TEST_F(Http, APostWhoseBodyCannotBeCopiedIsNotSent)
{
    LoopbackHttpServer::Reply reply;
    reply.bytes = LoopbackHttpServer::Ok("x");
    ASSERT_TRUE(m_server.Start(reply));
    MKHttpRequest request;
    // No 32-bit process has room for a copy of nearly 2 GB: the copy fails
    // before a byte of the body is read.
    static const char body[16] = "a=1";
    EXPECT_FALSE(request.Start(MKString(m_server.Url(L"/post").c_str()), body, INT_MAX - 16));
    EXPECT_EQ(MKHttpRequest::kIdle, request.GetState());

    // The next transfer goes out; the server sees it as its first request.
    ASSERT_TRUE(request.Start(MKString(m_server.Url(L"/get").c_str()), nullptr, 0));
    ASSERT_EQ(MKHttpRequest::kDone, WaitForEnd(request));
    std::vector<std::string> requests = m_server.Requests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ(0u, requests[0].rfind("GET /get HTTP/1.1\r\n", 0)) << requests[0];
}

// The raw-header query of WinINet, made to fail on the read that fills the
// buffer after writing into it, as a query can.
decltype(&::HttpQueryInfoW) s_realQuery = nullptr;
wchar_t s_scribble = 0;

BOOL WINAPI QueryWithFailingHeaderRead(HINTERNET request, DWORD level, void* buffer, DWORD* size, DWORD* index)
{
    if (level == HTTP_QUERY_RAW_HEADERS_CRLF && buffer) {
        auto* chars = static_cast<wchar_t*>(buffer);
        DWORD n = *size / sizeof(wchar_t);
        for (DWORD i = 0; i < n; ++i)
            chars[i] = i == 0 ? s_scribble : L'#';
        SetLastError(ERROR_INTERNET_INTERNAL_ERROR);
        return FALSE;
    }
    return s_realQuery(request, level, buffer, size, index);
}

TEST_F(Http, HeadersOfAFailedQueryAreNeverHandedOn)
{
    LoopbackHttpServer::Reply reply;
    reply.bytes = LoopbackHttpServer::Ok("body");
    ASSERT_TRUE(m_server.Start(reply));
    MKString url(m_server.Url(L"/").c_str());
    MKByteArray noBody;
    MKCriticalSection lock;

    // With WinINet's own query the raw headers arrive.
    MKWinInetApi api;
    ASSERT_TRUE(api.Load());
    {
        MKHttpConnection connection(api, lock.Get(), MKString(), false, false);
        ASSERT_TRUE(connection.OpenInternet());
        ASSERT_TRUE(connection.Send(url, noBody, MKString()));
        EXPECT_EQ(0u, Text(connection.GetHeaders()).rfind(L"HTTP/1.1 200", 0)) << Text(connection.GetHeaders());
    }
    // With a failing one nothing does, whatever the buffer was left holding.
    s_realQuery = api.HttpQueryInfoW;
    api.HttpQueryInfoW = QueryWithFailingHeaderRead;
    for (wchar_t first : {L'\0', L'#'}) {
        s_scribble = first;
        MKHttpConnection connection(api, lock.Get(), MKString(), false, false);
        ASSERT_TRUE(connection.OpenInternet());
        ASSERT_TRUE(connection.Send(url, noBody, MKString()));
        EXPECT_EQ(200, connection.GetStatusCode());
        EXPECT_EQ(0, connection.GetHeaders().GetLength()) << int(first);
    }
    api.HttpQueryInfoW = s_realQuery;
}

// A library that starts a transfer to a stalled server and lets it go, as an
// add-in that is unloaded does, while its thread still waits inside WinINet.
TEST_F(Http, AThreadAbandonedAtUnloadKeepsItsModuleUntilItEnds)
{
    LoopbackHttpServer::Reply reply;
    reply.stall = true;
    ASSERT_TRUE(m_server.Start(reply));
    const wchar_t* name = L"abandoned_transfer.dll";
    HMODULE library = LoadLibraryW((std::wstring(VISTELLO_TESTS_BIN) + L"\\" + name).c_str());
    ASSERT_NE(nullptr, library);
    using Abandon = int (*)(const wchar_t* url, int (*arrived)(void*), void* context);
    auto abandon =
        reinterpret_cast<Abandon>(reinterpret_cast<void*>(GetProcAddress(library, "StartAndAbandonTransfer")));
    ASSERT_NE(nullptr, abandon);
    auto arrived = [](void* server) {
        return int(static_cast<LoopbackHttpServer*>(server)->WaitForRequests(1, 10000));
    };
    // Cancel gives up on the stalled thread after its wait and the host cache
    // is destroyed meanwhile.
    ASSERT_TRUE(abandon(m_server.Url(L"/").c_str(), arrived, &m_server));
    FreeLibrary(library);

    // The thread still waits for the server: its module stays.
    EXPECT_NE(nullptr, GetModuleHandleW(name));
    // Once the server goes, the thread's call fails, the thread ends and the
    // module goes with it; had it run unmapped, the process would be gone.
    m_server.Stop();
    for (int waited = 0; GetModuleHandleW(name) && waited < 30000; waited += 50)
        Sleep(50);
    EXPECT_EQ(nullptr, GetModuleHandleW(name));
}

}  // namespace
