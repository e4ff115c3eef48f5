#include "standins/clr/KernelEvents.h"

#include "standins/clr/PluginObject.h"

#include <stdio.h>
#include <stdlib.h>

namespace standin_clr {

namespace {
long NumberSetting(const wchar_t* name, long fallback)
{
    std::wstring text = ClrLog::Setting(name);
    return text.empty() ? fallback : wcstol(text.c_str(), nullptr, 0);
}
}  // namespace

std::wstring Identity(IUnknown* object)
{
    if (!object)
        return L"null";
    IUnknown* identity = nullptr;
    if (FAILED(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity))))
        return L"?";
    identity->Release();
    return Hex(identity);
}

void* KernelEvents::QueryOwn(REFIID iid)
{
    return iid == IID_KernelEventSink ? static_cast<KernelEventSink*>(this) : nullptr;
}

HRESULT KernelEvents::Event(const wchar_t* name, IUnknown* first, IUnknown* second)
{
    std::wstring line = std::wstring(L"Kernel.") + name;
    if (first)
        line += L" " + Identity(first);
    if (second)
        line += L" " + Identity(second);
    return ClrLog::Enter(line);
}

HRESULT KernelEvents::OnStarted()
{
    HRESULT hr = Event(L"OnStarted");
    // VISTELLO_CLR_REPORT names a file for the add-in's system report, which
    // the kernel asks for (callback DISPID 5) once everything started.
    std::wstring path = ClrLog::Setting(L"VISTELLO_CLR_REPORT");
    IDispatch* callback = CurrentKernelCallback();
    if (FAILED(hr) || path.empty() || !callback)
        return hr;
    DISPPARAMS none = {};
    VARIANT report;
    VariantInit(&report);
    HRESULT asked = callback->Invoke(5, IID_NULL, 0, DISPATCH_METHOD, &none, &report, nullptr, nullptr);
    ClrLog::Note(L"Kernel.Report " + std::to_wstring(asked));
    if (SUCCEEDED(asked) && report.vt == VT_BSTR && report.bstrVal) {
        if (FILE* file = _wfopen(path.c_str(), L"wb")) {
            fwrite(report.bstrVal, sizeof(wchar_t), SysStringLen(report.bstrVal), file);
            fclose(file);
        }
    }
    VariantClear(&report);
    return hr;
}

HRESULT KernelEvents::WindowSelectionChange(IDispatch* selection)
{
    return Event(L"WindowSelectionChange", selection);
}

HRESULT KernelEvents::WindowBeforeRightClick(IDispatch* selection, long* cancel)
{
    HRESULT hr = Event(L"WindowBeforeRightClick", selection);
    if (SUCCEEDED(hr) && cancel)
        *cancel = NumberSetting(L"VISTELLO_CLR_CANCEL", 0);
    return hr;
}

HRESULT KernelEvents::WindowBeforeDoubleClick(long* cancel)
{
    HRESULT hr = Event(L"WindowBeforeDoubleClick");
    if (SUCCEEDED(hr) && cancel)
        *cancel = NumberSetting(L"VISTELLO_CLR_CANCEL", 0);
    return hr;
}

HRESULT KernelEvents::PresentationClose(IDispatch* presentation)
{
    return Event(L"PresentationClose", presentation);
}

HRESULT KernelEvents::PresentationSave(IDispatch* presentation)
{
    return Event(L"PresentationSave", presentation);
}

HRESULT KernelEvents::PresentationOpen(IDispatch* presentation)
{
    return Event(L"PresentationOpen", presentation);
}

HRESULT KernelEvents::NewPresentation(IDispatch* presentation)
{
    return Event(L"NewPresentation", presentation);
}

HRESULT KernelEvents::PresentationNewSlide(IDispatch* slide)
{
    return Event(L"PresentationNewSlide", slide);
}

HRESULT KernelEvents::WindowActivate(IDispatch* presentation, IDispatch* window)
{
    return Event(L"WindowActivate", presentation, window);
}

HRESULT KernelEvents::WindowDeactivate(IDispatch* presentation, IDispatch* window)
{
    return Event(L"WindowDeactivate", presentation, window);
}

HRESULT KernelEvents::SlideShowBegin(IDispatch* showWindow)
{
    return Event(L"SlideShowBegin", showWindow);
}

HRESULT KernelEvents::SlideShowEnd(IDispatch* presentation)
{
    return Event(L"SlideShowEnd", presentation);
}

HRESULT KernelEvents::PresentationPrint(IDispatch* presentation)
{
    return Event(L"PresentationPrint", presentation);
}

HRESULT KernelEvents::SlideSelectionChanged(IDispatch* range)
{
    return Event(L"SlideSelectionChanged", range);
}

HRESULT KernelEvents::ColorSchemeChanged(IDispatch* range)
{
    return Event(L"ColorSchemeChanged", range);
}

HRESULT KernelEvents::Query(long code, BSTR text, long* answer)
{
    HRESULT hr = ClrLog::Enter(L"Kernel.Query " + std::to_wstring(code) + L" " + (text ? text : L""));
    if (SUCCEEDED(hr) && answer)
        *answer = NumberSetting(L"VISTELLO_CLR_QUERY", -1);
    return hr;
}

HRESULT KernelEvents::ShowMessage(BSTR caption, BSTR text)
{
    return ClrLog::Enter(L"Kernel.ShowMessage " + std::wstring(caption ? caption : L"") + L"|" +
                         (text ? text : L""));
}

}  // namespace standin_clr
