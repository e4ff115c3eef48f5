#include "slidecontrol/SlideShowEventHandler.h"

#include "slidecontrol/MKOleDispatchDriver.h"
#include "slidecontrol/MKOleDispatchException.h"
#include "slidecontrol/MKOleException.h"
#include "slidecontrol/OfficeHostApp.h"
#include "slidecontrol/PowerPointEventSink.h"
#include "slidecontrol/SlideShowEventTarget.h"

#include <mbstring.h>
#include <new>

namespace {

enum : DISPID {
    kDispWindowView = 2003,
    kDispViewSlide = 2004,
    kDispSlideShapes = 2003,
    kDispShapesCount = 2,
    kDispShapesItem = 0,
    kDispShapeType = 124,
    kDispShapeOleFormat = 2003,
    kDispOleFormatObject = 2004,
    kDispOleFormatProgId = 2005,
    kDispGetInternalId = 2,
};
constexpr long kOleControlShape = 12;
const char kOwnProgId[] = "PlovaPoint.player.1";

// A property that is an object, held by a driver that releases it.
void GetObject(MKOleDispatchDriver& from, DISPID id, MKOleDispatchDriver& to)
{
    IDispatch* object = nullptr;
    from.GetProperty(id, VT_DISPATCH, &object);
    if (!object)
        throw MKOleException(E_POINTER);
    to.Attach(object, true);
}

}  // namespace

SlideShowEventHandler::~SlideShowEventHandler()
{
    if (m_sink) {
        m_sink->Unadvise();
        m_sink->Release();
    }
}

bool SlideShowEventHandler::Connect(SlideShowEventTarget* target, OfficeHostApp* host)
{
    m_target = target;
    m_host = host;
    if (!m_sink) {
        m_sink = new (std::nothrow) PowerPointEventSink();
        if (!m_sink)
            return false;
    }
    return host && m_sink->Advise(this, host->Application().Get());
}

bool SlideShowEventHandler::IsOnSlide(IDispatch* slide)
{
    if (!m_host || !m_target || !slide)
        return false;
    try {
        MKOleDispatchDriver slideDriver;
        slideDriver.Attach(slide, false);
        MKOleDispatchDriver shapes;
        GetObject(slideDriver, kDispSlideShapes, shapes);
        long count = 0;
        shapes.GetProperty(kDispShapesCount, VT_I4, &count);
        static const VARTYPE kIndex[] = {VT_VARIANT, VT_EMPTY};
        for (long i = 1; i <= count; ++i) {
            VARIANT index;
            VariantInit(&index);
            index.vt = VT_I4;
            index.lVal = i;
            IDispatch* item = nullptr;
            shapes.InvokeHelper(kDispShapesItem, DISPATCH_METHOD | DISPATCH_PROPERTYGET, VT_DISPATCH, &item, kIndex,
                                &index);
            if (!item)
                continue;
            MKOleDispatchDriver shape;
            shape.Attach(item, true);
            long type = 0;
            shape.GetProperty(kDispShapeType, VT_I4, &type);
            if (type != kOleControlShape)
                continue;
            MKOleDispatchDriver format;
            GetObject(shape, kDispShapeOleFormat, format);
            MKString progId;
            format.GetProperty(kDispOleFormatProgId, VT_BSTR, &progId);
            if (_mbsicmp(reinterpret_cast<const unsigned char*>(progId.GetText()),
                         reinterpret_cast<const unsigned char*>(kOwnProgId)) != 0)
                continue;
            MKOleDispatchDriver control;
            GetObject(format, kDispOleFormatObject, control);
            long id = 0;
            control.InvokeHelper(kDispGetInternalId, DISPATCH_METHOD, VT_I4, &id, nullptr);
            if (id == m_target->InternalId())
                return true;
        }
    } catch (const MKOleException&) {
        return false;
    } catch (const MKOleDispatchException&) {
        return false;
    }
    return false;
}

void SlideShowEventHandler::SlideShowNextSlide(IDispatch* window)
{
    if (!m_target)
        return;
    MKOleDispatchDriver slide;
    try {
        MKOleDispatchDriver windowDriver;
        windowDriver.Attach(window, false);
        MKOleDispatchDriver view;
        GetObject(windowDriver, kDispWindowView, view);
        GetObject(view, kDispViewSlide, slide);
    } catch (const MKOleException&) {
        return;
    } catch (const MKOleDispatchException&) {
        return;
    }
    if (IsOnSlide(slide.Get()))
        m_target->RestartLiveMovie();
    else
        m_target->StopLiveMovie();
}

void SlideShowEventHandler::SlideShowEnd(IDispatch*)
{
    if (m_target)
        m_target->StopLiveMovie();
}
