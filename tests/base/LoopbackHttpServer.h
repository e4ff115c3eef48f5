#pragma once
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A small HTTP server on 127.0.0.1 (an ephemeral port) for the HTTP client's
// tests. It serves one connection at a time with the same reply, logs the exact
// bytes of each request, and can answer late, pause inside the reply, or
// never answer. Every wait is bounded: at most kMaxConnections connections,
// kLifetimeMs in all, and each wait ends when Stop is called.
class LoopbackHttpServer {
public:
    static const int kMaxConnections = 16;
    static const int kLifetimeMs = 30000;

    struct Reply {
        std::string bytes;      // status line, headers and body, sent as they are
        int delayMs = 0;        // wait before the reply
        int pauseAt = -1;       // send this many bytes, then pause
        int pauseMs = 0;
        bool stall = false;     // never reply; hold the connection until Stop
    };

    LoopbackHttpServer() = default;
    ~LoopbackHttpServer() { Stop(); }
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    // Listens and starts serving; false when Winsock or the socket failed.
    bool Start(const Reply& reply);
    // Ends serving, closing any connection, and joins the thread.
    void Stop();

    int Port() const { return m_port; }
    // "http://127.0.0.1:port" followed by the path.
    std::wstring Url(const wchar_t* path) const;
    // The exact bytes of every request received so far.
    std::vector<std::string> Requests();
    int ConnectionCount() { return m_connections; }
    // True once n requests have arrived, false after timeoutMs.
    bool WaitForRequests(int n, int timeoutMs);

    // A reply with status 200, the Content-Length header and the body.
    static std::string Ok(const std::string& body);

private:
    void Serve(const Reply& reply);
    void ServeConnection(uintptr_t connection, const Reply& reply);
    // Waits up to ms in short slices; false when stopped or past the lifetime.
    bool Pause(int ms);
    bool TimeLeft() const;

    uintptr_t m_listener = ~uintptr_t(0);
    int m_port = 0;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_connections{0};
    unsigned long m_startTick = 0;
    std::mutex m_mutex;
    std::vector<std::string> m_requests;
};
