#include "addin/hosting/WebBrowserNode.h"

#include "addin/hosting/SiteContainer.h"
#include "addin/hosting/WebBrowserEventSink.h"
#include "addin/hosting/WebBrowserNodeProxy.h"
#include "hostapi/WebBrowserInterfaces.h"

const wchar_t WebBrowserNode::kStartAddress[] = L"about:blank";

WebBrowserNode::WebBrowserNode() : ActiveXNode(WindowedKind, true), m_sink(new WebBrowserEventSink())
{
    m_sink->AddRef();
}

WebBrowserNode::~WebBrowserNode()
{
    m_sink->Release();
}

NodeProxy* WebBrowserNode::CreateProxy()
{
    return MakeNodeProxy<WebBrowserNodeProxy>(this);
}

const CLSID* WebBrowserNode::GetControlClsid()
{
    return &CLSID_WebBrowserControl;
}

bool WebBrowserNode::OnActivate()
{
    if (FAILED(CreateControl()) || FAILED(LoadProperties(GetPixelWidth(), GetPixelHeight())))
        return false;
    if (!HasCapability(OwnsWindow))
        UpdateContent();
    return true;
}

bool WebBrowserNode::OnStart()
{
    SetAnimating(true);
    const bool started = StartControl();
    if (started)
        Navigate(MKString(kStartAddress));
    else
        SetAnimating(false);
    return started;
}

bool WebBrowserNode::ConnectEvents()
{
    IWebBrowser2* browser = nullptr;
    if (FAILED(QueryControl(IID_IWebBrowser2, reinterpret_cast<void**>(&browser))) || !browser)
        return false;
    browser->Release();
    return SUCCEEDED(Connect(DIID_DWebBrowserEvents2, static_cast<IDispatch*>(m_sink)));
}

void WebBrowserNode::Navigate(const MKString& url)
{
    IWebBrowser2* browser = nullptr;
    if (FAILED(QueryControl(IID_IWebBrowser2, reinterpret_cast<void**>(&browser))) || !browser)
        return;
    VARIANT target;
    target.vt = VT_BSTR;
    target.bstrVal = url.ToBstr();
    VARIANT missing;
    missing.vt = VT_ERROR;
    missing.scode = DISP_E_PARAMNOTFOUND;
    // Where the page goes from here is the page's business.
    browser->Navigate2(&target, &missing, &missing, &missing, &missing);
    SysFreeString(target.bstrVal);
    browser->Release();
}

HRESULT WebBrowserNode::GetContainer(IOleContainer** container)
{
    return SiteContainer::Create(container);
}

HRESULT WebBrowserNode::GetHostInfo(DOCHOSTUIINFO* info)
{
    if (!info)
        return E_POINTER;
    info->cbSize = 20;
    // No 3D outer border, themed, flat scroll bars, no script while inactive.
    info->dwFlags = DOCHOSTUIFLAG_NO3DOUTERBORDER | DOCHOSTUIFLAG_THEME | DOCHOSTUIFLAG_FLAT_SCROLLBAR |
                    DOCHOSTUIFLAG_DISABLE_SCRIPT_INACTIVE;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}
