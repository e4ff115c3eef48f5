#include "standins/controls/EventPoint.h"

#include "standins/controls/ControlLog.h"

#include <olectl.h>

namespace standin {

EventPoint::EventPoint(IConnectionPointContainer* container, const IID& iid, bool dispatch, const wchar_t* name,
                       Logger log)
    : m_container(container), m_iid(iid), m_dispatch(dispatch), m_name(name), m_log(std::move(log))
{
}

EventPoint::~EventPoint()
{
    Clear();
}

void EventPoint::Clear()
{
    std::vector<std::pair<DWORD, IUnknown*>> sinks;
    sinks.swap(m_sinks);
    for (auto& entry : sinks)
        entry.second->Release();
}

HRESULT EventPoint::QueryInterface(REFIID iid, void** out)
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

HRESULT EventPoint::GetConnectionInterface(IID* iid)
{
    if (!iid)
        return E_POINTER;
    *iid = m_iid;
    return S_OK;
}

HRESULT EventPoint::GetConnectionPointContainer(IConnectionPointContainer** container)
{
    if (!container)
        return E_POINTER;
    *container = m_container;
    m_container->AddRef();
    return S_OK;
}

HRESULT EventPoint::Advise(IUnknown* sink, DWORD* cookie)
{
    if (cookie)
        *cookie = 0;
    if (!sink || !cookie) {
        m_log(L"IConnectionPoint.Advise(" + m_name + L") = " + Hex(E_POINTER));
        return E_POINTER;
    }
    IUnknown* held = nullptr;
    HRESULT hr = sink->QueryInterface(m_iid, reinterpret_cast<void**>(&held));
    if (FAILED(hr) && m_dispatch)
        hr = sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&held));
    if (FAILED(hr) || !held) {
        m_log(L"IConnectionPoint.Advise(" + m_name + L") = " + Hex(CONNECT_E_CANNOTCONNECT));
        return CONNECT_E_CANNOTCONNECT;
    }
    *cookie = m_nextCookie++;
    m_sinks.emplace_back(*cookie, held);
    m_log(L"IConnectionPoint.Advise(" + m_name + L") = " + std::to_wstring(*cookie));
    return S_OK;
}

HRESULT EventPoint::Unadvise(DWORD cookie)
{
    for (auto it = m_sinks.begin(); it != m_sinks.end(); ++it) {
        if (it->first == cookie) {
            IUnknown* sink = it->second;
            m_sinks.erase(it);
            sink->Release();
            m_log(L"IConnectionPoint.Unadvise(" + m_name + L", " + std::to_wstring(cookie) + L")");
            return S_OK;
        }
    }
    m_log(L"IConnectionPoint.Unadvise(" + m_name + L", " + std::to_wstring(cookie) + L") = " +
          Hex(CONNECT_E_NOCONNECTION));
    return CONNECT_E_NOCONNECTION;
}

HRESULT EventPoint::EnumConnections(IEnumConnections** connections)
{
    if (connections)
        *connections = nullptr;
    return E_NOTIMPL;
}

HRESULT EventPoint::Fire(DISPID id, std::vector<VARIANT> arguments)
{
    std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
    DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    HRESULT result = S_FALSE;
    // A sink may unadvise (or release the control) inside the call.
    m_container->AddRef();
    std::vector<std::pair<DWORD, IUnknown*>> sinks = m_sinks;
    for (auto& entry : sinks)
        entry.second->AddRef();
    for (auto& entry : sinks) {
        VARIANT answer;
        VariantInit(&answer);
        result = static_cast<IDispatch*>(entry.second)
                     ->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &answer, nullptr, nullptr);
        VariantClear(&answer);
        entry.second->Release();
    }
    m_container->Release();
    return result;
}

void EventPoint::FireChanged(DISPID id)
{
    std::vector<std::pair<DWORD, IUnknown*>> sinks = m_sinks;
    for (auto& entry : sinks)
        entry.second->AddRef();
    for (auto& entry : sinks) {
        static_cast<IPropertyNotifySink*>(entry.second)->OnChanged(id);
        entry.second->Release();
    }
}

}  // namespace standin
