#pragma once
#include <windows.h>

#include "hostapi/PowerPointInterfaces.h"
#include "base/MKComHolder.h"

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
    // Application.HWND when it is a live window; else E_FAIL and 0.
    virtual HRESULT GetMainWindow(HWND* window) const = 0;
    virtual bool FindPresentationForShowWindow(PowerPoint::SlideShowWindow* showWindow,
                                               MKComHolder<PowerPoint::Presentation>& out) const = 0;
    // Shows a report to the user: through the kernel plug-in when one runs,
    // else in a message box captioned "Vistello".
    virtual void ShowError(const wchar_t* title, const wchar_t* text) = 0;

protected:
    ~SlideShowHost() = default;
};
