#include "DemoUpdate.h"

#include "fixtures/Fixtures.h"

#include "addin/update/InstalledPlugin.h"
#include "addin/update/InstalledPlugins.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

const wchar_t kMachineProductKey[] = L"SOFTWARE\\Brelix Technologies\\Vistello";
const char kKernelSetup[] = "B80321F4-6A3C-48C1-89A9-FDCFF7BA605A";

std::string Narrow(const MKString& text)
{
    std::wstring wide(text.GetText(), size_t(text.GetLength()));
    return std::string(wide.begin(), wide.end());
}

}  // namespace

DemoUpdateService::~DemoUpdateService()
{
    Stop();
}

std::string DemoUpdateService::Start()
{
    const std::wstring path = FixturePath(L"install\\demo_update\\Kernel.vlx");
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    const std::string package((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (package.empty())
        return "the update package is missing";
    const std::string version = OfferedVersion();
    LoopbackHttpServer::Reply download;
    download.bytes = LoopbackHttpServer::Ok(package);
    m_server.SetReplyFor("/updates/vistello/download/", download);
    LoopbackHttpServer::Reply check;
    check.bytes = LoopbackHttpServer::Ok(
        "check_for_updates_result_1\n{\"Version\": Version(\"" + version + "\"), \"Setups\": [{\"InternalName\": " +
        "\"Kernel\", \"Guid\": Guid(\"{" + kKernelSetup + "}\"), \"Version\": Version(\"" + version +
        "\"), \"Size\": " + std::to_string(package.size()) + ", \"Action\": \"Install\"}]}");
    // The check comes some seconds after the add-in's start, later on a
    // loaded or emulated machine; the update step stops the service.
    if (!m_server.Start(check, 5 * 60 * 1000))
        return "the loopback update service could not listen";
    const std::wstring url = m_server.Url(L"");
    if (RegSetKeyValueW(HKEY_LOCAL_MACHINE, kMachineProductKey, L"UpdateService", REG_SZ, url.c_str(),
                        DWORD((url.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
        return "the update service could not be named in the product's settings";
    m_named = true;
    return "";
}

void DemoUpdateService::Stop()
{
    m_server.Stop();
    if (m_named)
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kMachineProductKey, L"UpdateService");
    m_named = false;
}

std::string DemoUpdateService::RequestLines()
{
    std::string lines;
    for (const std::string& request : m_server.Requests())
        lines += request.substr(0, request.find("\r\n")) + "\n";
    return lines;
}

std::string InstalledVersions(const std::wstring& installationFolder)
{
    InstalledPlugins plugins{MKString(installationFolder.c_str())};
    if (plugins.Load() != InstalledPluginsOk)
        return "plugins.dat of " + std::string(installationFolder.begin(), installationFolder.end()) +
               " cannot be read\n";
    std::string text = "product " + Narrow(plugins.productVersion.ToString()) + "\n";
    for (int i = 0; i < plugins.GetCount(); ++i) {
        const InstalledPlugin& entry = *plugins.GetAt(i);
        text += Narrow(entry.name) + " " + Narrow(entry.version.ToString()) + " " + Narrow(entry.mainFolder) + "\\" +
                Narrow(entry.mainFile) + "\n";
    }
    return text;
}
