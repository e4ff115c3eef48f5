#pragma once
#include "addin/hosting/HostHandler.h"
#include "base/MKString.h"

#include <windows.h>

class NodeHost;
class PackResourceHandlerList;
class Plugin;

// Where a plug-in's hosted controls find the files of its module package:
// "<virtual root>pack\resources\" followed by the entry's name.
constexpr wchar_t kPackResourcesFolder[] = L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\pack\\resources\\";
constexpr int kPackResourcesFolderLength = 60;
static_assert(sizeof(kPackResourcesFolder) / sizeof(wchar_t) == kPackResourcesFolderLength + 1);

// The handler a plug-in attaches to a node host it made: serves the host's
// requests below the pack-resources folder from the plug-in's package, and
// sends the input its controls do not keep to the two windows given at
// creation. It keeps a reference on the host and is the host's handler until
// it goes; when the host closes, it asks its list to delete it. The plug-in is
// looked up by GUID at each request, so a handler that outlives its plug-in
// serves nothing. Made and deleted only by its list.
class PackResourceHandler final : public HostHandler {
public:
    void GetSnapshotArea(RectF& bounds, bool& needed) override;
    void OnSnapshotShown() override {}
    // Detach: the list deletes the handler.
    void OnHostClosed() override;
    HWND GetFocusWindow() override { return nullptr; }
    // Answers false always; a served request is told by the stream.
    bool ResolveNodeUrl(int bindingId, const UrlParts& url, int32_t& handled, IStream*& stream, uint32_t& size,
                        int& code) override;
    HWND GetMouseTarget() override { return m_mouseTarget; }
    HWND GetKeyTarget() override { return m_keyTarget; }
    int32_t TranslateKey(UINT message, WPARAM wParam, LPARAM lParam, int32_t& keyState) override;
    // A plug-in's host has no application to command.
    bool SendCommand(int32_t) override { return false; }

    NodeHost* GetHost() const { return m_host; }
    const GUID& GetPluginGuid() const { return m_pluginGuid; }
    const MKString& GetUrlPrefix() const { return m_urlPrefix; }
    // The loaded plug-in of the handler's GUID, or null.
    Plugin* FindPlugin() const;

private:
    friend class PackResourceHandlerList;

    PackResourceHandler(PackResourceHandlerList* list, NodeHost* host, const GUID& plugin, const MKString& urlPrefix,
                        HWND mouseTarget, HWND keyTarget);
    ~PackResourceHandler();
    PackResourceHandler(const PackResourceHandler&) = delete;
    PackResourceHandler& operator=(const PackResourceHandler&) = delete;

    PackResourceHandlerList* m_list;
    NodeHost* m_host;
    GUID m_pluginGuid;
    MKString m_urlPrefix;
    HWND m_mouseTarget;
    HWND m_keyTarget;
};
