#pragma once
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <vector>

namespace standin {

// The Application's connection point for PowerPoint's application events.
// Advise takes sinks that answer the event interface or IDispatch; events reach
// every sink through IDispatch::Invoke with real DISPPARAMS. The container
// pointer is not counted: the container detaches the point before it goes.
class EventConnectionPoint final : public IConnectionPoint {
public:
    explicit EventConnectionPoint(IConnectionPointContainer* container);
    EventConnectionPoint(const EventConnectionPoint&) = delete;
    EventConnectionPoint& operator=(const EventConnectionPoint&) = delete;

    void Detach();
    // Invokes the event on each sink advised when the call starts, arguments
    // in the event's published order (the DISPPARAMS hold them last first);
    // answers each sink's HRESULT. Sinks may advise, unadvise or raise further
    // events from inside their handler.
    std::vector<HRESULT> Raise(DISPID id, const std::vector<VARIANT>& args);
    size_t SinkCount() const { return m_sinks.size(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

private:
    ~EventConnectionPoint();

    struct Sink {
        DWORD cookie;
        IDispatch* dispatch;
    };
    IConnectionPointContainer* m_container;
    std::vector<Sink> m_sinks;
    DWORD m_nextCookie = 1;
    ULONG m_refs = 1;
};

// Enumerates the single connection point of the Application.
class ConnectionPointEnumerator final : public IEnumConnectionPoints {
public:
    ConnectionPointEnumerator(IConnectionPoint* point, ULONG position);
    ConnectionPointEnumerator(const ConnectionPointEnumerator&) = delete;
    ConnectionPointEnumerator& operator=(const ConnectionPointEnumerator&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** out) override;

private:
    ~ConnectionPointEnumerator();

    IConnectionPoint* m_point;
    ULONG m_position;
    ULONG m_refs = 1;
};

}  // namespace standin
