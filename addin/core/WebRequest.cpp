#include "addin/core/WebRequest.h"

#include "addin/core/MessageCodec.h"
#include "addin/core/ValueTree.h"
#include "base/MKHttpRequest.h"

#include <new>

WebRequest::WebRequest(const MKString& url, ValueTree* tree, uint32_t requestKey, uint32_t responseKey,
                       bool ignoreCertificateErrors)
    : m_url(url),
      m_tree(tree),
      m_requestKey(requestKey),
      m_responseKey(responseKey),
      m_ignoreCertificateErrors(ignoreCertificateErrors)
{
    if (m_tree)
        m_tree->AddRef();
}

WebRequest::~WebRequest()
{
    Cancel();
    if (m_tree)
        m_tree->Release();
}

bool WebRequest::Send()
{
    if (m_http)
        return true;
    MKByteArray body;
    if (!m_tree || !m_tree->EncodeXml(m_requestKey, body))
        return false;
    m_http = new (std::nothrow) MKHttpRequest();
    if (!m_http)
        return false;
    m_http->SetAllowCache(false);
    m_http->SetUserAgent(MKString(L"Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 6.0)"));
    m_http->SetIgnoreCertificateErrors(m_ignoreCertificateErrors);
    m_http->SetContentType(MKString(L"application/octet-stream"));
    if (!m_http->Start(m_url, body.GetData(), body.GetCount())) {
        delete m_http;
        m_http = nullptr;
        return false;
    }
    return true;
}

void WebRequest::Cancel()
{
    if (!m_http)
        return;
    m_http->Cancel();
    delete m_http;
    m_http = nullptr;
}

int WebRequest::GetState() const
{
    return m_http ? m_http->GetState() : MKHttpRequest::kIdle;
}

bool WebRequest::IsBusy() const
{
    int state = GetState();
    return state == MKHttpRequest::kStarted || state == MKHttpRequest::kReceiving;
}

bool WebRequest::IsDone() const
{
    return GetState() == MKHttpRequest::kDone;
}

int WebRequest::GetStatus() const
{
    return IsDone() ? m_http->GetStatusCode() : 0;
}

ValueTree* WebRequest::GetResponse() const
{
    if (!IsDone() || m_http->GetStatusCode() != 200)
        return nullptr;
    const MKByteArray& body = m_http->GetResponseBody();
    if (!MessageCodec::HasMagic(body.GetData(), body.GetCount()))
        return nullptr;
    return ValueTree::DecodeMessage(body.GetData(), body.GetCount(), m_responseKey);
}
