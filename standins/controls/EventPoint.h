#pragma once
#include <windows.h>
#include <ocidl.h>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace standin {

// One connection point of a stand-in control: the control's property-change
// interface (IPropertyNotifySink) or its event dispatch interface. Its
// reference count is the container's (the control owns the point); sinks are
// held with one reference each until Unadvise or Clear. Advise asks the sink
// for the point's interface, and for IDispatch when that is a dispatch
// interface (the way automation event sinks are usually written).
class EventPoint final : public IConnectionPoint {
public:
    using Logger = std::function<void(const std::wstring&)>;

    EventPoint(IConnectionPointContainer* container, const IID& iid, bool dispatch, const wchar_t* name, Logger log);
    ~EventPoint();
    EventPoint(const EventPoint&) = delete;
    EventPoint& operator=(const EventPoint&) = delete;

    const IID& Interface() const { return m_iid; }
    bool HasSinks() const { return !m_sinks.empty(); }

    // Calls Invoke(id) on every sink with the arguments in declared order;
    // answers the last sink's result (S_FALSE without sinks).
    HRESULT Fire(DISPID id, std::vector<VARIANT> arguments);
    // IPropertyNotifySink::OnChanged on every sink.
    void FireChanged(DISPID id);
    void Clear();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return m_container->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return m_container->Release(); }
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

private:
    IConnectionPointContainer* m_container;
    IID m_iid;
    bool m_dispatch;
    std::wstring m_name;
    Logger m_log;
    DWORD m_nextCookie = 1;
    std::vector<std::pair<DWORD, IUnknown*>> m_sinks;
};

}  // namespace standin
