#include "addin/effects/PackResourceHandler.h"

#include "addin/effects/PackResourceHandlerList.h"
#include "addin/effects/Plugin.h"
#include "addin/effects/PluginLookup.h"
#include "addin/hosting/NodeHost.h"
#include "addin/hosting/ResourceStream.h"
#include "addin/hosting/UrlParts.h"
#include "base/MKMemInStream.h"

#include <new>
#include <string.h>

PackResourceHandler::PackResourceHandler(PackResourceHandlerList* list, NodeHost* host, const GUID& plugin,
                                         const MKString& urlPrefix, HWND mouseTarget, HWND keyTarget)
    : m_list(list), m_host(host), m_pluginGuid(plugin), m_urlPrefix(urlPrefix), m_mouseTarget(mouseTarget),
      m_keyTarget(keyTarget)
{
    m_host->AddRef();
    m_host->SetHostHandler(this);
}

PackResourceHandler::~PackResourceHandler()
{
    m_urlPrefix.Clear();
    if (m_host->GetHostHandler() == this)
        m_host->SetHostHandler(nullptr);
    m_host->Release();
}

void PackResourceHandler::GetSnapshotArea(RectF&, bool& needed)
{
    needed = false;
}

void PackResourceHandler::OnHostClosed()
{
    m_list->Remove(m_host);
}

int32_t PackResourceHandler::TranslateKey(UINT, WPARAM, LPARAM, int32_t& keyState)
{
    keyState = 0;
    return -1;
}

Plugin* PackResourceHandler::FindPlugin() const
{
    const PluginLookup* plugins = m_list->GetPlugins();
    Plugin* plugin = plugins ? plugins->FindPluginByGuid(m_pluginGuid) : nullptr;
    return plugin && plugin->IsLoaded() ? plugin : nullptr;
}

bool PackResourceHandler::ResolveNodeUrl(int, const UrlParts& url, int32_t& handled, IStream*& stream,
                                         uint32_t& size, int& code)
{
    const MKString& path = url.path;
    if (url.schemeKind != kSchemeFile || path.GetLength() < kPackResourcesFolderLength ||
        wcsncmp(path.GetText(), kPackResourcesFolder, kPackResourcesFolderLength) != 0)
        return false;
    handled = 2;
    Plugin* plugin = FindPlugin();
    MKTArray<uint8_t> bytes;
    if (!plugin || !plugin->ReadPackageEntry(path.Mid(kPackResourcesFolderLength), bytes))
        return false;
    auto* input = new (std::nothrow) MKMemInStream();
    if (!input)
        return false;
    const int count = bytes.GetCount();
    input->Attach(bytes.Detach(), count, true);
    auto* resource = new (std::nothrow) ResourceStream(input);
    input->Release();
    if (!resource)
        return false;
    resource->AddRef();
    stream = resource;
    size = static_cast<uint32_t>(count);
    code = 0;
    return false;
}
