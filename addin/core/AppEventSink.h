#pragma once
#include <windows.h>
#include <ocidl.h>

#include "addin/core/AddInSubObject.h"
#include "hostapi/PowerPointInterfaces.h"
#include "base/MKComHolder.h"

class AddIn;
class EventDepth;
class PluginEventTarget;
class ShowEventTarget;

// Receives PowerPoint's application events (DISPIDs 2001 to 2025) on the
// Application's connection point, checks each event's arguments (exact
// count, exact variant types, objects that answer their PowerPoint
// interface) and hands document and window events to the plug-in manager
// and slide-show events to the slide-show controller. Events the plug-ins
// may answer by opening or changing presentations raise the add-in's event
// depth while they are forwarded, so that no slide-show machinery starts
// from inside them. Counts go to its owner (the Office connection, which
// must outlive it); it answers for IUnknown and IDispatch itself and for
// nothing else. No type information (E_NOTIMPL). Invoke runs inside the crash
// guard. PowerPoint's user-interface thread only.
class AppEventSink final : public AddInSubObject<AppEventSink, IDispatch, E_NOTIMPL> {
public:
    // addIn names the add-in in crash records only (may be null); eventDepth
    // is the add-in's counter (may be null: nothing counted).
    AppEventSink(IUnknown* owner, AddIn* addIn, EventDepth* eventDepth);
    ~AppEventSink();
    AppEventSink(const AppEventSink&) = delete;
    AppEventSink& operator=(const AppEventSink&) = delete;

    // Where events go; either may be null (those events are checked and
    // dropped). Not owned: they must outlive their use here.
    void SetTargets(PluginEventTarget* plugins, ShowEventTarget* shows);

    // Advises the sink on the Application's connection point of the
    // application events (an earlier advise is undone first). E_POINTER
    // without an Application; any failure leaves the sink not advised.
    HRESULT Advise(PowerPoint::Application* application);
    // Nothing when not advised.
    void Unadvise();
    bool IsAdvised() const { return m_advised; }
    // The interface the advised connection point reported.
    const IID& ConnectionInterface() const { return m_connectionInterface; }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

private:
    friend AddInSubObject;
    // A sink of its own: no interface goes on to the owner.
    bool AnswerOwn(REFIID iid, IUnknown** answer);
    HRESULT HandleEvent(DISPID id, DISPPARAMS* params);
    void Forward(DISPID id, IUnknown* const* objects, VARIANT_BOOL* flag);
    void ReleaseConnection();

    AddIn* m_addIn;
    EventDepth* m_eventDepth;
    PluginEventTarget* m_plugins = nullptr;
    ShowEventTarget* m_shows = nullptr;
    IID m_connectionInterface = {};
    DWORD m_cookie = 0;
    bool m_advised = false;
    MKComHolder<IConnectionPoint> m_point;
    MKComHolder<IConnectionPointContainer> m_container;
};
