#pragma once
#include <windows.h>

#include "addin/core/EventDepth.h"
#include "addin/effects/SlideShowHost.h"
#include "hostapi/PluginInterfaces.h"
#include "standins/powerpoint/PowerPointHost.h"

#include <string>
#include <utility>
#include <vector>

// Helpers of the slide-show tests.

// The add-in's side as a test sets it: the Office code, whether PowerPoint
// was started to show, and the reports shown (title, text), over the
// stand-in PowerPoint.
class TestShowHost : public SlideShowHost {
public:
    TestShowHost(standin::PowerPointHost& powerPoint, int code) : m_powerPoint(powerPoint), officeCode(code) {}

    int GetShowOfficeCode() const override { return officeCode; }
    bool GetDetectedOfficeCode(int* code) const override;
    bool StartedToShow() const override { return startedToShow; }
    void ForwardPresentationOpen(PowerPoint::Presentation* presentation) override
    {
        opened.push_back(presentation);
    }
    int GetEventDepth() const override { return depthSource ? depthSource->Get() : eventDepth; }
    HRESULT GetMainWindow(HWND* window) const override;
    bool FindPresentationForShowWindow(PowerPoint::SlideShowWindow* showWindow,
                                       MKComHolder<PowerPoint::Presentation>& out) const override;
    void ShowError(const wchar_t* title, const wchar_t* text) override { shown.push_back({title, text}); }
    HINSTANCE GetModuleInstance() const override { return GetModuleHandleW(nullptr); }
    EffectTypeLookup* GetEffectTypes() override { return types; }
    IUnknown* CreateKernelSlide(IUnknown* showWindow, IUnknown* slide, IDispatch* nodeHost) override;
    bool ConfirmEffect(int32_t, BSTR) override { return kernelConfirms; }

    int officeCode;
    bool detected = true;
    bool startedToShow = false;
    int eventDepth = 0;
    // The add-in's count of forwarded events, when the test has one.
    const EventDepth* depthSource = nullptr;
    // The presentations the plug-ins were told of as opened.
    std::vector<PowerPoint::Presentation*> opened;
    std::vector<std::pair<std::wstring, std::wstring>> shown;
    // Shapes have content of these types when set.
    EffectTypeLookup* types = nullptr;
    // The kernel that makes the slide objects; none when null.
    IKernelPlugin* kernel = nullptr;
    // The kernel's answer to every effect of a build step.
    bool kernelConfirms = true;

private:
    standin::PowerPointHost& m_powerPoint;
};

// Dispatches the thread's messages for the given time and counts the
// WM_TIMER messages of the window with that identifier.
int PumpCountingTimer(DWORD milliseconds, HWND window, UINT_PTR timerId);

// The show's message window: the direct child of the pane with class and
// title "VistelloMessageWindow".
HWND FindMessageWindow(HWND pane);

// The window's procedure is its class's own (nobody subclasses it).
bool HasClassProcedure(HWND window);
