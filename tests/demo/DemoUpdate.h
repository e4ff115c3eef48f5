#pragma once
#include "fixtures/LoopbackHttpServer.h"

#include <string>

// The update service of the demo on the loopback server: it offers the
// kernel's setup in a newer version (the package standin_install.py made)
// and serves its download; the machine's product settings name it as the
// update service while it runs.
class DemoUpdateService {
public:
    DemoUpdateService() = default;
    ~DemoUpdateService();
    DemoUpdateService(const DemoUpdateService&) = delete;
    DemoUpdateService& operator=(const DemoUpdateService&) = delete;

    // The failure, or empty when the service runs.
    std::string Start();
    void Stop();
    // The version offered, as the offer spells it.
    static const char* OfferedVersion() { return "2.2"; }
    // The requests so far, one line each (their request lines).
    std::string RequestLines();

private:
    LoopbackHttpServer m_server;
    bool m_named = false;
};

// The installation's modules from its "plugins.dat", one line each: name,
// version and main file, after the product's version; an explanation when
// the list cannot be read.
std::string InstalledVersions(const std::wstring& installationFolder);
