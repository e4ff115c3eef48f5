#include "addin/core/AppEventSink.h"

#include <olectl.h>
#include <stdint.h>

#include "addin/core/AddInGuard.h"
#include "addin/core/DispArgs.h"
#include "addin/core/EventDepth.h"
#include "addin/core/PluginEventTarget.h"
#include "addin/core/ShowEventTarget.h"

namespace {

using namespace PowerPoint;

enum ArgumentKind : uint8_t {
    kObject,          // VT_DISPATCH answering the PowerPoint interface
    kOptionalObject,  // the same, or VT_EMPTY or null for none
    kFlag,            // VT_BYREF | VT_BOOL
    kNumber,          // VT_I4
};

// The published arguments of one application event, and whether forwarding
// it raises the event depth (plug-ins may open or change presentations then).
struct EventArguments {
    uint8_t count;
    ArgumentKind kinds[2];
    const IID* interfaces[2];
    bool counted;
};

constexpr DISPID kFirstEvent = DISPID_WindowSelectionChange;
constexpr DISPID kLastEvent = DISPID_PresentationBeforeClose;

const EventArguments kEvents[kLastEvent - kFirstEvent + 1] = {
    {1, {kObject}, {&IID_Selection}, true},                                          // WindowSelectionChange
    {2, {kObject, kFlag}, {&IID_Selection}, false},                                  // WindowBeforeRightClick
    {2, {kObject, kFlag}, {&IID_Selection}, false},                                  // WindowBeforeDoubleClick
    {1, {kObject}, {&IID_Presentation}, true},                                       // PresentationClose
    {1, {kObject}, {&IID_Presentation}, true},                                       // PresentationSave
    {1, {kObject}, {&IID_Presentation}, true},                                       // PresentationOpen
    {1, {kObject}, {&IID_Presentation}, true},                                       // NewPresentation
    {1, {kObject}, {&IID_Slide}, true},                                              // PresentationNewSlide
    {2, {kObject, kObject}, {&IID_Presentation, &IID_DocumentWindow}, false},        // WindowActivate
    {2, {kObject, kObject}, {&IID_Presentation, &IID_DocumentWindow}, false},        // WindowDeactivate
    {1, {kObject}, {&IID_SlideShowWindow}, false},                                   // SlideShowBegin
    {1, {kObject}, {&IID_SlideShowWindow}, false},                                   // SlideShowNextBuild
    {1, {kObject}, {&IID_SlideShowWindow}, false},                                   // SlideShowNextSlide
    {1, {kObject}, {&IID_Presentation}, false},                                      // SlideShowEnd
    {1, {kObject}, {&IID_Presentation}, true},                                       // PresentationPrint
    {1, {kObject}, {&IID_SlideRange}, true},                                         // SlideSelectionChanged
    {1, {kObject}, {&IID_SlideRange}, false},                                        // ColorSchemeChanged
    {2, {kObject, kFlag}, {&IID_Presentation}, false},                               // PresentationBeforeSave
    {2, {kObject, kOptionalObject}, {&IID_SlideShowWindow, &IID_Effect}, false},     // SlideShowNextClick
    {1, {kObject}, {&IID_Presentation}, false},                                      // AfterNewPresentation
    {1, {kObject}, {&IID_Presentation}, false},                                      // AfterPresentationOpen
    {2, {kObject, kNumber}, {&IID_Presentation}, false},                             // PresentationSync
    {1, {kObject}, {&IID_SlideShowWindow}, false},                                   // SlideShowOnNext
    {1, {kObject}, {&IID_SlideShowWindow}, false},                                   // SlideShowOnPrevious
    {2, {kObject, kFlag}, {&IID_Presentation}, false},                               // PresentationBeforeClose
};

template <class I>
I* As(IUnknown* object)
{
    return static_cast<I*>(object);
}

}  // namespace

AppEventSink::AppEventSink(IUnknown* owner, AddIn* addIn, EventDepth* eventDepth)
    : AddInSubObject(owner), m_addIn(addIn), m_eventDepth(eventDepth)
{
}

AppEventSink::~AppEventSink()
{
    ReleaseConnection();
}

void AppEventSink::SetTargets(PluginEventTarget* plugins, ShowEventTarget* shows)
{
    m_plugins = plugins;
    m_shows = shows;
}

HRESULT AppEventSink::Advise(PowerPoint::Application* application)
{
    Unadvise();
    if (!application)
        return E_POINTER;
    IConnectionPointContainer* container = nullptr;
    HRESULT hr = application->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    if (FAILED(hr))
        return hr;
    m_container.Attach(container);
    // Asked by its interface: whichever point comes first need not be it.
    IConnectionPoint* point = nullptr;
    hr = container ? container->FindConnectionPoint(IID_EApplication, &point) : E_NOINTERFACE;
    m_point.Attach(SUCCEEDED(hr) ? point : nullptr);
    if (FAILED(hr) && point)
        point->Release();
    if (SUCCEEDED(hr) && !m_point)
        hr = CONNECT_E_NOCONNECTION;
    if (SUCCEEDED(hr))
        hr = m_point->GetConnectionInterface(&m_connectionInterface);
    if (SUCCEEDED(hr))
        hr = m_point->Advise(static_cast<IDispatch*>(this), &m_cookie);
    m_advised = SUCCEEDED(hr);
    if (!m_advised)
        ReleaseConnection();
    return hr;
}

void AppEventSink::Unadvise()
{
    if (!m_advised)
        return;
    m_advised = false;
    m_point->Unadvise(m_cookie);
    ReleaseConnection();
}

void AppEventSink::ReleaseConnection()
{
    m_point.Release();
    m_container.Release();
    m_cookie = 0;
}

bool AppEventSink::AnswerOwn(REFIID iid, IUnknown** answer)
{
    *answer = iid == IID_IUnknown || iid == IID_IDispatch ? this : nullptr;
    return true;
}

HRESULT AppEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*)
{
    static AddInGuardRecord s_guard;
    const int depth = m_eventDepth ? m_eventDepth->Get() : 0;
    HRESULT hr = E_UNEXPECTED;
    if (!AddInGuarded(s_guard, m_addIn, [&] { hr = HandleEvent(id, params); })) {
        // A forward that failed half-way must not leave the depth raised.
        if (m_eventDepth)
            m_eventDepth->Restore(depth);
        return E_UNEXPECTED;
    }
    return hr;
}

HRESULT AppEventSink::HandleEvent(DISPID id, DISPPARAMS* params)
{
    if (id < kFirstEvent || id > kLastEvent)
        return DISP_E_MEMBERNOTFOUND;
    const EventArguments& event = kEvents[id - kFirstEvent];
    DispArgs args(params);
    if (args.Count() != event.count)
        return DISP_E_BADPARAMCOUNT;

    IDispatch* given[2] = {};
    VARIANT_BOOL* flag = nullptr;
    int32_t number = 0;
    for (UINT i = 0; i < event.count; ++i) {
        switch (event.kinds[i]) {
        case kObject:
            args.GetDispatch(i, &given[i]);
            break;
        case kOptionalObject:
            if (args.TypeAt(i) != VT_EMPTY)
                args.GetDispatch(i, &given[i]);
            break;
        case kFlag:
            args.GetBoolRef(i, &flag);
            break;
        case kNumber:
            args.GetInt(i, &number);
            break;
        }
    }
    if (FAILED(args.Error()))
        return args.Error();

    MKComHolder<IUnknown> objects[2];
    for (UINT i = 0; i < event.count; ++i) {
        if (event.kinds[i] != kObject && event.kinds[i] != kOptionalObject)
            continue;
        // A click without an effect may come as VT_EMPTY or as a null object.
        if (!given[i] && event.kinds[i] == kOptionalObject)
            continue;
        IUnknown* queried = nullptr;
        if (!given[i] || FAILED(given[i]->QueryInterface(*event.interfaces[i], reinterpret_cast<void**>(&queried))) ||
            !queried)
            return E_INVALIDARG;
        objects[i].Attach(queried);
    }
    IUnknown* const forwarded[2] = {objects[0].Get(), objects[1].Get()};
    if (event.counted && m_eventDepth)
        m_eventDepth->Enter();
    Forward(id, forwarded, flag);
    if (event.counted && m_eventDepth)
        m_eventDepth->Leave();
    return S_OK;
}

void AppEventSink::Forward(DISPID id, IUnknown* const* objects, VARIANT_BOOL* flag)
{
    PluginEventTarget* plugins = m_plugins;
    ShowEventTarget* shows = m_shows;
    switch (id) {
    case DISPID_WindowSelectionChange:
        if (plugins)
            plugins->ForwardWindowSelectionChange(As<Selection>(objects[0]));
        break;
    case DISPID_WindowBeforeRightClick:
        *flag = VARIANT_FALSE;
        if (plugins)
            plugins->ForwardWindowBeforeRightClick(As<Selection>(objects[0]), flag);
        break;
    case DISPID_WindowBeforeDoubleClick:
        if (plugins)
            plugins->ForwardWindowBeforeDoubleClick(flag);
        break;
    case DISPID_PresentationClose:
        if (plugins)
            plugins->ForwardPresentationClose(As<Presentation>(objects[0]));
        break;
    case DISPID_PresentationSave:
        if (plugins)
            plugins->ForwardPresentationSave(As<Presentation>(objects[0]));
        break;
    case DISPID_PresentationOpen:
        if (plugins)
            plugins->ForwardPresentationOpen(As<Presentation>(objects[0]));
        break;
    case DISPID_NewPresentation:
        if (plugins)
            plugins->ForwardNewPresentation(As<Presentation>(objects[0]));
        break;
    case DISPID_PresentationNewSlide:
        if (plugins)
            plugins->ForwardPresentationNewSlide(As<Slide>(objects[0]));
        break;
    case DISPID_WindowActivate:
        if (plugins)
            plugins->ForwardWindowActivate(As<Presentation>(objects[0]), As<DocumentWindow>(objects[1]));
        break;
    case DISPID_WindowDeactivate:
        if (plugins)
            plugins->ForwardWindowDeactivate(As<Presentation>(objects[0]), As<DocumentWindow>(objects[1]));
        break;
    case DISPID_SlideShowBegin:
        if (plugins)
            plugins->ForwardSlideShowBegin(As<SlideShowWindow>(objects[0]));
        if (shows)
            shows->OnSlideShowBegin(As<SlideShowWindow>(objects[0]));
        break;
    case DISPID_SlideShowNextBuild:
        if (shows)
            shows->OnNextBuild(As<SlideShowWindow>(objects[0]));
        break;
    case DISPID_SlideShowNextSlide:
        if (shows)
            shows->OnNextSlide(As<SlideShowWindow>(objects[0]));
        break;
    case DISPID_SlideShowEnd:
        if (plugins)
            plugins->ForwardSlideShowEnd(As<Presentation>(objects[0]));
        if (shows)
            shows->OnSlideShowEnd(As<Presentation>(objects[0]));
        break;
    case DISPID_PresentationPrint:
        if (plugins)
            plugins->ForwardPresentationPrint(As<Presentation>(objects[0]));
        break;
    case DISPID_SlideSelectionChanged:
        if (plugins)
            plugins->ForwardSlideSelectionChanged(As<SlideRange>(objects[0]));
        break;
    case DISPID_ColorSchemeChanged:
        if (plugins)
            plugins->ForwardColorSchemeChanged(As<SlideRange>(objects[0]));
        break;
    case DISPID_SlideShowNextClick:
        if (shows)
            shows->OnNextClick(As<SlideShowWindow>(objects[0]), As<Effect>(objects[1]));
        break;
    case DISPID_SlideShowOnNext:
        if (shows)
            shows->OnNext(As<SlideShowWindow>(objects[0]));
        break;
    case DISPID_SlideShowOnPrevious:
        if (shows)
            shows->OnPrevious(As<SlideShowWindow>(objects[0]));
        break;
    default:
        // Validated only: PresentationBeforeSave, AfterNewPresentation,
        // AfterPresentationOpen, PresentationSync, PresentationBeforeClose.
        break;
    }
}
