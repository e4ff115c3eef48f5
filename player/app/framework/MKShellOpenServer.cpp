#include "player/app/framework/MKShellOpenServer.h"

#include <string>
#include <vector>

#include "base/MKCrashGuard.h"
#include "player/app/framework/MKShellOpenCommands.h"

namespace {

// DDEML's callback carries no context.
MKShellOpenServer* s_server = nullptr;

// Execute strings are short; a larger one is refused unread.
constexpr DWORD kMaxExecuteBytes = 64 * 1024;

}  // namespace

MKShellOpenServer::~MKShellOpenServer()
{
    Stop();
}

bool MKShellOpenServer::Start(const char* service, Opener opener, void* context)
{
    if (s_server || !opener)
        return false;
    const DWORD flags = APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_FAIL_POKES | CBF_FAIL_REQUESTS |
                        CBF_SKIP_ALLNOTIFICATIONS;
    if (DdeInitializeA(&m_instance, &MKShellOpenServer::Callback, flags, 0) != DMLERR_NO_ERROR) {
        m_instance = 0;
        return false;
    }
    m_service = DdeCreateStringHandleA(m_instance, service, CP_WINANSI);
    m_topic = DdeCreateStringHandleA(m_instance, "system", CP_WINANSI);
    m_opener = opener;
    m_context = context;
    s_server = this;
    if (!m_service || !m_topic || !DdeNameService(m_instance, m_service, nullptr, DNS_REGISTER)) {
        Stop();
        return false;
    }
    return true;
}

void MKShellOpenServer::Stop()
{
    if (!m_instance)
        return;
    if (m_service)
        DdeNameService(m_instance, m_service, nullptr, DNS_UNREGISTER);
    if (m_service)
        DdeFreeStringHandle(m_instance, m_service);
    if (m_topic)
        DdeFreeStringHandle(m_instance, m_topic);
    DdeUninitialize(m_instance);
    m_instance = 0;
    m_service = m_topic = nullptr;
    if (s_server == this)
        s_server = nullptr;
}

HDDEDATA CALLBACK MKShellOpenServer::Callback(UINT type, UINT, HCONV, HSZ topic, HSZ service, HDDEDATA data,
                                              ULONG_PTR, ULONG_PTR)
{
    // Another process's request: whatever the opener meets ends here, with
    // the request refused.
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, HDDEDATA(nullptr), [&]() -> HDDEDATA {
        MKShellOpenServer* server = s_server;
        if (!server)
            return nullptr;
        switch (type) {
        case XTYP_CONNECT:
            return reinterpret_cast<HDDEDATA>(DdeCmpStringHandles(topic, server->m_topic) == 0 &&
                                              DdeCmpStringHandles(service, server->m_service) == 0);
        case XTYP_EXECUTE:
            return DdeCmpStringHandles(topic, server->m_topic) == 0 ? server->Execute(data)
                                                                    : reinterpret_cast<HDDEDATA>(DDE_FNOTPROCESSED);
        default:
            return nullptr;
        }
    });
}

HDDEDATA MKShellOpenServer::Execute(HDDEDATA data)
{
    const DWORD size = DdeGetData(data, nullptr, 0, 0);
    if (size == 0 || size > kMaxExecuteBytes)
        return reinterpret_cast<HDDEDATA>(DDE_FNOTPROCESSED);
    std::string text(size, '\0');
    DdeGetData(data, reinterpret_cast<BYTE*>(text.data()), size, 0);
    text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
    std::vector<std::string> paths;
    if (!MKParseShellOpenCommands(text, paths))
        return reinterpret_cast<HDDEDATA>(DDE_FNOTPROCESSED);
    bool opened = true;
    for (const std::string& path : paths)
        opened = m_opener(m_context, path.c_str()) && opened;
    return reinterpret_cast<HDDEDATA>(opened ? DDE_FACK : DDE_FNOTPROCESSED);
}
