#include "standins/powerpoint/EventConnectionPoint.h"

#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/CallLog.h"

#include <string>

namespace standin {

EventConnectionPoint::EventConnectionPoint(IConnectionPointContainer* container) : m_container(container) {}

EventConnectionPoint::~EventConnectionPoint()
{
    for (Sink& sink : m_sinks)
        sink.dispatch->Release();
}

void EventConnectionPoint::Detach()
{
    m_container = nullptr;
}

std::vector<HRESULT> EventConnectionPoint::Raise(DISPID id, const std::vector<VARIANT>& args)
{
    CallLog::Get().Note(L"Event." + std::to_wstring(id));
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params{};
    params.cArgs = static_cast<UINT>(reversed.size());
    params.rgvarg = reversed.empty() ? nullptr : reversed.data();

    // A sink may unadvise (or be released) while another one runs.
    std::vector<IDispatch*> targets;
    for (Sink& sink : m_sinks) {
        sink.dispatch->AddRef();
        targets.push_back(sink.dispatch);
    }
    AddRef();
    std::vector<HRESULT> results;
    for (IDispatch* target : targets) {
        results.push_back(target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                                         nullptr, nullptr));
        target->Release();
    }
    Release();
    return results;
}

HRESULT EventConnectionPoint::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IConnectionPoint)
        return E_NOINTERFACE;
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

ULONG EventConnectionPoint::AddRef()
{
    return ++m_refs;
}

ULONG EventConnectionPoint::Release()
{
    ULONG left = --m_refs;
    if (left == 0)
        delete this;
    return left;
}

HRESULT EventConnectionPoint::GetConnectionInterface(IID* iid)
{
    if (!iid)
        return E_POINTER;
    HRESULT hr = CallLog::Get().Enter(L"ConnectionPoint.GetConnectionInterface");
    if (FAILED(hr))
        return hr;
    *iid = PowerPoint::IID_EApplication;
    return S_OK;
}

HRESULT EventConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out)
{
    if (!out)
        return E_POINTER;
    *out = m_container;
    if (!m_container)
        return E_UNEXPECTED;
    m_container->AddRef();
    return S_OK;
}

HRESULT EventConnectionPoint::Advise(IUnknown* sink, DWORD* cookie)
{
    if (!cookie)
        return E_POINTER;
    *cookie = 0;
    HRESULT hr = CallLog::Get().Enter(L"ConnectionPoint.Advise");
    if (FAILED(hr))
        return hr;
    if (!sink)
        return E_POINTER;
    // Sinks of a dispatch interface may answer only IDispatch.
    IDispatch* dispatch = nullptr;
    if (FAILED(sink->QueryInterface(PowerPoint::IID_EApplication, reinterpret_cast<void**>(&dispatch))) &&
        FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))))
        return CONNECT_E_CANNOTCONNECT;
    *cookie = m_nextCookie++;
    m_sinks.push_back({*cookie, dispatch});
    return S_OK;
}

HRESULT EventConnectionPoint::Unadvise(DWORD cookie)
{
    HRESULT hr = CallLog::Get().Enter(L"ConnectionPoint.Unadvise");
    if (FAILED(hr))
        return hr;
    for (auto it = m_sinks.begin(); it != m_sinks.end(); ++it) {
        if (it->cookie == cookie) {
            IDispatch* dispatch = it->dispatch;
            m_sinks.erase(it);
            dispatch->Release();
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT EventConnectionPoint::EnumConnections(IEnumConnections** out)
{
    if (out)
        *out = nullptr;
    return E_NOTIMPL;
}

ConnectionPointEnumerator::ConnectionPointEnumerator(IConnectionPoint* point, ULONG position)
    : m_point(point), m_position(position)
{
    m_point->AddRef();
}

ConnectionPointEnumerator::~ConnectionPointEnumerator()
{
    m_point->Release();
}

HRESULT ConnectionPointEnumerator::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IEnumConnectionPoints)
        return E_NOINTERFACE;
    *out = static_cast<IEnumConnectionPoints*>(this);
    AddRef();
    return S_OK;
}

ULONG ConnectionPointEnumerator::AddRef()
{
    return ++m_refs;
}

ULONG ConnectionPointEnumerator::Release()
{
    ULONG left = --m_refs;
    if (left == 0)
        delete this;
    return left;
}

HRESULT ConnectionPointEnumerator::Next(ULONG count, IConnectionPoint** points, ULONG* fetched)
{
    if (!points || (count > 1 && !fetched))
        return E_POINTER;
    ULONG given = 0;
    if (count > 0 && m_position == 0) {
        points[0] = m_point;
        m_point->AddRef();
        given = 1;
        m_position = 1;
    }
    if (fetched)
        *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

HRESULT ConnectionPointEnumerator::Skip(ULONG count)
{
    m_position += count;
    return m_position <= 1 ? S_OK : S_FALSE;
}

HRESULT ConnectionPointEnumerator::Reset()
{
    m_position = 0;
    return S_OK;
}

HRESULT ConnectionPointEnumerator::Clone(IEnumConnectionPoints** out)
{
    if (!out)
        return E_POINTER;
    *out = new ConnectionPointEnumerator(m_point, m_position);
    return S_OK;
}

}  // namespace standin
