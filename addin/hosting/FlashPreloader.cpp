#include "addin/hosting/FlashPreloader.h"

#include "addin/hosting/FlashNode.h"
#include "addin/hosting/HostingModule.h"
#include "addin/hosting/LayerNode.h"
#include "addin/hosting/NodeHost.h"

#include <new>

namespace {

FlashPreloader* s_preloader = nullptr;

template <class Node>
void CloseAndRelease(Node*& node)
{
    if (!node)
        return;
    node->Close();
    node->Release();
    node = nullptr;
}

}  // namespace

void FlashPreloader::Start()
{
    if (s_preloader)
        return;
    s_preloader = new (std::nothrow) FlashPreloader();
    if (s_preloader && !s_preloader->SetUp()) {
        delete s_preloader;
        s_preloader = nullptr;
    }
}

void FlashPreloader::Stop()
{
    delete s_preloader;
    s_preloader = nullptr;
}

bool FlashPreloader::IsRunning()
{
    return s_preloader != nullptr;
}

bool FlashPreloader::SetUp()
{
    // A hidden window of the host's own: nothing of the control is shown.
    m_host = new (std::nothrow) NodeHost(nullptr, HostingModuleInstance(), 100, 100, 1);
    if (!m_host)
        return false;
    m_layer = m_host->CreateLayer(0, 0, 100, 100, false, false);
    if (!m_layer)
        return false;
    m_layer->AddRef();
    m_node = new (std::nothrow) FlashNode(FlashNode::Window);
    if (!m_node)
        return false;
    m_node->SetRect(0, 0, 100, 100);
    return m_layer->AddChild(m_node) && m_node->Activate(false);
}

FlashPreloader::~FlashPreloader()
{
    CloseAndRelease(m_node);
    CloseAndRelease(m_layer);
    CloseAndRelease(m_host);
}
