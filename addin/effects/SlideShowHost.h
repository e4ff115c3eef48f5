#pragma once
#include <windows.h>
#include <oleauto.h>
#include <stdint.h>

#include "hostapi/PowerPointInterfaces.h"
#include "base/MKComHolder.h"

class EffectTypeLookup;

// What the slide-show machinery needs of the add-in that owns it. The add-in
// outlives its controller and every session. PowerPoint's user-interface
// thread only.
class SlideShowHost {
public:
    // PowerPoint's Office code (major version x 100 + service-pack level) as
    // the environment record holds it; 0 when unknown.
    virtual int GetShowOfficeCode() const = 0;
    // The Office detection record's code; false when there is no record.
    virtual bool GetDetectedOfficeCode(int* code) const = 0;
    // PowerPoint was started with "/S", only to show a presentation.
    virtual bool StartedToShow() const = 0;
    // Tells the plug-ins that the presentation opened (its show began under
    // "/S", where PowerPoint raises no open event of its own).
    virtual void ForwardPresentationOpen(PowerPoint::Presentation* presentation) = 0;
    // How deep application events being forwarded to the plug-ins are
    // nested; no session starts while it is above 0.
    virtual int GetEventDepth() const = 0;
    // Application.HWND when it is a live window; else E_FAIL and 0.
    virtual HRESULT GetMainWindow(HWND* window) const = 0;
    virtual bool FindPresentationForShowWindow(PowerPoint::SlideShowWindow* showWindow,
                                               MKComHolder<PowerPoint::Presentation>& out) const = 0;
    // Shows a report to the user: through the kernel plug-in when one runs,
    // else in a message box captioned "Vistello".
    virtual void ShowError(const wchar_t* title, const wchar_t* text) = 0;
    // The add-in's module, in which hosted content registers its windows.
    virtual HINSTANCE GetModuleInstance() const = 0;
    // The registered effect types; null while the plug-in manager is not
    // started (no shape has content then).
    virtual EffectTypeLookup* GetEffectTypes() = 0;
    // The kernel plug-in's object for one slide of the show (one reference),
    // given the show window, the slide and the slide's node host proxy; null
    // without a kernel or when it makes none.
    virtual IUnknown* CreateKernelSlide(IUnknown* showWindow, IUnknown* slide, IDispatch* nodeHost) = 0;
    // The kernel plug-in accepts content of the effect type (its 24-bit
    // code) for the effect id of a build step; false without a kernel.
    virtual bool ConfirmEffect(int32_t typeCode, BSTR effectId) = 0;

protected:
    ~SlideShowHost() = default;
};
