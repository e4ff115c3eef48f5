#include "slidecontrol/PowerPointEventSink.h"

#include "hostapi/PowerPointInterfaces.h"
#include "slidecontrol/DispatchTypeTest.h"
#include "slidecontrol/PlovapointModule.h"
#include "slidecontrol/SlideShowEventHandler.h"

#include <stdint.h>

namespace {

using namespace PowerPoint;

enum ArgumentKind : uint8_t {
    kObject,          // a non-null object of the event's PowerPoint type
    kOptionalObject,  // the same, or null
    kCancel,          // VT_BOOL by reference
    kAsItComes,       // any value
};

struct EventArguments {
    uint8_t count;
    ArgumentKind kinds[2];
    const IID* types[2];
};

constexpr DISPID kFirstEvent = DISPID_WindowSelectionChange;
constexpr DISPID kLastEvent = DISPID_SlideShowOnPrevious;

const EventArguments kEvents[kLastEvent - kFirstEvent + 1] = {
    {1, {kObject}, {&IID_Selection}},                                       // WindowSelectionChange
    {2, {kObject, kCancel}, {&IID_Selection}},                              // WindowBeforeRightClick
    {2, {kObject, kCancel}, {&IID_Selection}},                              // WindowBeforeDoubleClick
    {1, {kObject}, {&IID_Presentation}},                                    // PresentationClose
    {1, {kObject}, {&IID_Presentation}},                                    // PresentationSave
    {1, {kObject}, {&IID_Presentation}},                                    // PresentationOpen
    {1, {kObject}, {&IID_Presentation}},                                    // NewPresentation
    {1, {kObject}, {&IID_Slide}},                                           // PresentationNewSlide
    {2, {kObject, kObject}, {&IID_Presentation, &IID_DocumentWindow}},      // WindowActivate
    {2, {kObject, kObject}, {&IID_Presentation, &IID_DocumentWindow}},      // WindowDeactivate
    {1, {kObject}, {&IID_SlideShowWindow}},                                 // SlideShowBegin
    {1, {kObject}, {&IID_SlideShowWindow}},                                 // SlideShowNextBuild
    {1, {kObject}, {&IID_SlideShowWindow}},                                 // SlideShowNextSlide
    {1, {kObject}, {&IID_Presentation}},                                    // SlideShowEnd
    {1, {kObject}, {&IID_Presentation}},                                    // PresentationPrint
    {1, {kObject}, {&IID_SlideRange}},                                      // SlideSelectionChanged
    {1, {kObject}, {&IID_SlideRange}},                                      // ColorSchemeChanged
    {2, {kObject, kCancel}, {&IID_Presentation}},                           // PresentationBeforeSave
    {2, {kObject, kOptionalObject}, {&IID_SlideShowWindow, &IID_Effect}},  // SlideShowNextClick
    {1, {kObject}, {&IID_Presentation}},                                    // AfterNewPresentation
    {1, {kObject}, {&IID_Presentation}},                                    // AfterPresentationOpen
    {2, {kObject, kAsItComes}, {&IID_Presentation}},                        // PresentationSync
    {1, {kObject}, {&IID_SlideShowWindow}},                                 // SlideShowOnNext
    {1, {kObject}, {&IID_SlideShowWindow}},                                 // SlideShowOnPrevious
};

// The object of a VT_DISPATCH argument, by value or by reference.
bool ObjectOf(const VARIANT& value, IDispatch*& object)
{
    if (value.vt == VT_DISPATCH)
        object = value.pdispVal;
    else if (value.vt == (VT_DISPATCH | VT_BYREF) && value.ppdispVal)
        object = *value.ppdispVal;
    else
        return false;
    return true;
}

}  // namespace

PowerPointEventSink::~PowerPointEventSink()
{
    Unadvise();
}

bool PowerPointEventSink::Advise(SlideShowEventHandler* handler, IDispatch* application)
{
    if (!handler || !application || m_connected)
        return false;
    if (!IsDispatchOfType(application, IID_Application))
        return false;
    if (FAILED(application->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&m_container))))
        return false;
    // The point of the application event interface itself: another point of
    // the application would send events this sink does not know.
    if (FAILED(m_container->FindConnectionPoint(IID_EApplication, &m_point)) || !m_point ||
        FAILED(m_point->GetConnectionInterface(&m_interface))) {
        Unadvise();
        return false;
    }
    m_handler = handler;
    m_connected = SUCCEEDED(m_point->Advise(static_cast<IDispatch*>(this), &m_cookie));
    if (!m_connected) {
        m_handler = nullptr;
        Unadvise();
    }
    return m_connected;
}

void PowerPointEventSink::Unadvise()
{
    if (m_connected && m_point)
        m_point->Unadvise(m_cookie);
    m_connected = false;
    m_cookie = 0;
    m_handler = nullptr;
    if (m_point) {
        m_point->Release();
        m_point = nullptr;
    }
    if (m_container) {
        m_container->Release();
        m_container = nullptr;
    }
}

HRESULT PowerPointEventSink::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch)
        return E_NOINTERFACE;
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

ULONG PowerPointEventSink::AddRef()
{
    return ULONG(++m_refs);
}

ULONG PowerPointEventSink::Release()
{
    LONG left = --m_refs;
    if (left == 0)
        delete this;
    return ULONG(left);
}

HRESULT PowerPointEventSink::GetTypeInfoCount(UINT* count)
{
    if (count)
        *count = 0;
    return E_NOTIMPL;
}

HRESULT PowerPointEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT PowerPointEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*)
{
    if (id < kFirstEvent || id > kLastEvent)
        return DISP_E_MEMBERNOTFOUND;
    if (!params)
        return E_INVALIDARG;
    return PlovapointModule::Guard([&] { return Dispatch(id, *params); });
}

HRESULT PowerPointEventSink::Dispatch(DISPID id, DISPPARAMS& params)
{
    const EventArguments& event = kEvents[id - kFirstEvent];
    if (params.cArgs != event.count)
        return DISP_E_BADPARAMCOUNT;
    if (params.cArgs > 0 && !params.rgvarg)
        return E_INVALIDARG;
    IDispatch* objects[2] = {};
    bool cancel = false;
    VARIANT_BOOL* cancelOut = nullptr;
    const VARIANT* asItComes = nullptr;
    for (int i = 0; i < event.count; ++i) {
        const VARIANT& value = params.rgvarg[event.count - 1 - i];
        switch (event.kinds[i]) {
        case kObject:
        case kOptionalObject: {
            IDispatch* object = nullptr;
            bool isObject = ObjectOf(value, object);
            bool none = (isObject && !object) || value.vt == VT_EMPTY || value.vt == VT_NULL;
            if (none && event.kinds[i] == kOptionalObject)
                break;
            if (!isObject || !object || !IsDispatchOfType(object, *event.types[i]))
                return E_INVALIDARG;
            objects[i] = object;
            break;
        }
        case kCancel:
            if (value.vt != (VT_BOOL | VT_BYREF) || !value.pboolVal)
                return E_INVALIDARG;
            cancelOut = value.pboolVal;
            cancel = *cancelOut != VARIANT_FALSE;
            break;
        case kAsItComes:
            asItComes = &value;
            break;
        }
    }
    SlideShowEventHandler* h = m_handler;
    if (!h)
        return S_OK;
    IDispatch* first = objects[0];
    IDispatch* second = objects[1];
    switch (id) {
    case DISPID_WindowSelectionChange: h->WindowSelectionChange(first); break;
    case DISPID_WindowBeforeRightClick: h->WindowBeforeRightClick(first, cancel); break;
    case DISPID_WindowBeforeDoubleClick: h->WindowBeforeDoubleClick(first, cancel); break;
    case DISPID_PresentationClose: h->PresentationClose(first); break;
    case DISPID_PresentationSave: h->PresentationSave(first); break;
    case DISPID_PresentationOpen: h->PresentationOpen(first); break;
    case DISPID_NewPresentation: h->NewPresentation(first); break;
    case DISPID_PresentationNewSlide: h->PresentationNewSlide(first); break;
    case DISPID_WindowActivate: h->WindowActivate(first, second); break;
    case DISPID_WindowDeactivate: h->WindowDeactivate(first, second); break;
    case DISPID_SlideShowBegin: h->SlideShowBegin(first); break;
    case DISPID_SlideShowNextBuild: h->SlideShowNextBuild(first); break;
    case DISPID_SlideShowNextSlide: h->SlideShowNextSlide(first); break;
    case DISPID_SlideShowEnd: h->SlideShowEnd(first); break;
    case DISPID_PresentationPrint: h->PresentationPrint(first); break;
    case DISPID_SlideSelectionChanged: h->SlideSelectionChanged(first); break;
    case DISPID_ColorSchemeChanged: h->ColorSchemeChanged(first); break;
    case DISPID_PresentationBeforeSave: h->PresentationBeforeSave(first, cancel); break;
    case DISPID_SlideShowNextClick: h->SlideShowNextClick(first, second); break;
    case DISPID_AfterNewPresentation: h->AfterNewPresentation(first); break;
    case DISPID_AfterPresentationOpen: h->AfterPresentationOpen(first); break;
    case DISPID_PresentationSync: h->PresentationSync(first, *asItComes); break;
    case DISPID_SlideShowOnNext: h->SlideShowOnNext(first); break;
    case DISPID_SlideShowOnPrevious: h->SlideShowOnPrevious(first); break;
    default: break;
    }
    if (cancelOut)
        *cancelOut = cancel ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}
