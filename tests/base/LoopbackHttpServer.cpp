#include <winsock2.h>

#include "LoopbackHttpServer.h"

#include "base/MKDynLib.h"

#include <string.h>

namespace {

// Winsock loaded at run time, like the client's own libraries.
struct Winsock {
    decltype(&::WSAStartup) startup = nullptr;
    decltype(&::socket) socket = nullptr;
    decltype(&::bind) bind = nullptr;
    decltype(&::listen) listen = nullptr;
    decltype(&::getsockname) getsockname = nullptr;
    decltype(&::accept) accept = nullptr;
    decltype(&::recv) recv = nullptr;
    decltype(&::send) send = nullptr;
    decltype(&::select) select = nullptr;
    decltype(&::shutdown) shutdown = nullptr;
    decltype(&::closesocket) closesocket = nullptr;
    MKDynLib library;

    template <typename F>
    bool Find(const char* name, F& entry)
    {
        return MKCastProc(library.GetProc(name), entry);
    }

    bool Load()
    {
        WSADATA data;
        return library.Load(L"ws2_32.dll") && Find("WSAStartup", startup) && Find("socket", socket) &&
               Find("bind", bind) && Find("listen", listen) && Find("getsockname", getsockname) &&
               Find("accept", accept) && Find("recv", recv) && Find("send", send) && Find("select", select) &&
               Find("shutdown", shutdown) && Find("closesocket", closesocket) && startup(MAKEWORD(2, 2), &data) == 0;
    }
};

Winsock* Api()
{
    static Winsock winsock;
    static const bool loaded = winsock.Load();
    return loaded ? &winsock : nullptr;
}

const int kSliceMs = 20;

// Whether the socket has something to read (or was closed) within ms.
bool Readable(SOCKET s, int ms)
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval timeout = {ms / 1000, (ms % 1000) * 1000};
    return Api()->select(0, &set, nullptr, nullptr, &timeout) > 0;
}

// The Content-Length of a request head, or 0.
size_t ContentLength(const std::string& head)
{
    std::string lower = head;
    for (char& c : lower)
        c = char(tolower(static_cast<unsigned char>(c)));
    size_t at = lower.find("\r\ncontent-length:");
    return at == std::string::npos ? 0 : size_t(strtoul(head.c_str() + at + 17, nullptr, 10));
}

}  // namespace

bool LoopbackHttpServer::Start(const Reply& reply)
{
    Winsock* api = Api();
    if (!api || m_thread.joinable())
        return false;
    SOCKET listener = api->socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET)
        return false;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = 0x0100007F;  // 127.0.0.1 in network order
    address.sin_port = 0;
    int size = sizeof address;
    if (api->bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        api->listen(listener, 4) != 0 || api->getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        api->closesocket(listener);
        return false;
    }
    m_listener = listener;
    m_port = ((address.sin_port & 0xFF) << 8) | (address.sin_port >> 8);  // network order
    m_stop = false;
    m_startTick = GetTickCount();
    m_thread = std::thread([this, reply] { Serve(reply); });
    return true;
}

void LoopbackHttpServer::Stop()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_listener != ~uintptr_t(0)) {
        Api()->closesocket(SOCKET(m_listener));
        m_listener = ~uintptr_t(0);
    }
}

std::wstring LoopbackHttpServer::Url(const wchar_t* path) const
{
    return L"http://127.0.0.1:" + std::to_wstring(m_port) + path;
}

std::vector<std::string> LoopbackHttpServer::Requests()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

bool LoopbackHttpServer::WaitForRequests(int n, int timeoutMs)
{
    for (int waited = 0; waited <= timeoutMs; waited += kSliceMs) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (int(m_requests.size()) >= n)
                return true;
        }
        Sleep(kSliceMs);
    }
    return false;
}

std::string LoopbackHttpServer::Ok(const std::string& body)
{
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

bool LoopbackHttpServer::TimeLeft() const
{
    return !m_stop && GetTickCount() - m_startTick < unsigned(kLifetimeMs);
}

bool LoopbackHttpServer::Pause(int ms)
{
    for (int waited = 0; waited < ms; waited += kSliceMs) {
        if (!TimeLeft())
            return false;
        Sleep(kSliceMs);
    }
    return TimeLeft();
}

void LoopbackHttpServer::Serve(const Reply& reply)
{
    Winsock* api = Api();
    while (m_connections < kMaxConnections && TimeLeft()) {
        if (!Readable(SOCKET(m_listener), kSliceMs))
            continue;
        SOCKET connection = api->accept(SOCKET(m_listener), nullptr, nullptr);
        if (connection == INVALID_SOCKET)
            continue;
        ++m_connections;
        ServeConnection(connection, reply);
        api->shutdown(connection, SD_BOTH);
        api->closesocket(connection);
    }
}

void LoopbackHttpServer::ServeConnection(uintptr_t socket, const Reply& reply)
{
    Winsock* api = Api();
    SOCKET connection = SOCKET(socket);
    // The head up to the blank line, then as many body bytes as it announces
    // (at most 1 MB); a client that sends nothing for kIdleMs ends the wait.
    std::string request;
    size_t headEnd = std::string::npos;
    const size_t maxRequest = 1 << 20;
    const int kIdleMs = 1000;
    int idle = 0;
    while (TimeLeft() && request.size() < maxRequest && idle < kIdleMs) {
        if (headEnd != std::string::npos && request.size() >= headEnd + 4 + ContentLength(request.substr(0, headEnd)))
            break;
        if (!Readable(connection, kSliceMs)) {
            idle += kSliceMs;
            continue;
        }
        idle = 0;
        char buffer[4096];
        int n = api->recv(connection, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        request.append(buffer, size_t(n));
        if (headEnd == std::string::npos)
            headEnd = request.find("\r\n\r\n");
    }
    if (request.empty())
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_requests.push_back(request);
    }
    if (reply.stall) {
        Pause(kLifetimeMs);
        return;
    }
    if (!Pause(reply.delayMs))
        return;
    size_t first = reply.pauseAt >= 0 ? std::min(size_t(reply.pauseAt), reply.bytes.size()) : reply.bytes.size();
    if (first > 0 && api->send(connection, reply.bytes.data(), int(first), 0) != int(first))
        return;
    if (first < reply.bytes.size() && Pause(reply.pauseMs))
        api->send(connection, reply.bytes.data() + first, int(reply.bytes.size() - first), 0);
}
