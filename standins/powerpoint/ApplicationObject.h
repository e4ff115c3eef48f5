#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"

#include <ocidl.h>
#include <olectl.h>
#include <string>
#include <vector>

namespace standin {

class ComAddInsObject;
class EventConnectionPoint;
class LanguageSettingsObject;
class PresentationObject;
class PresentationsObject;
class SlideShowWindowsObject;

// PowerPoint's Application: version facts, a real main window, the
// presentations, the running slide shows, COMAddIns, LanguageSettings and the
// connection point of the application events. One application is current in
// the process from construction to Close; the objects of its presentations and
// shows reach it through Current(). The main window starts hidden (under a
// display without window manager Wine takes seconds to withdraw a shown
// window); ShowWindow it when a test or the demo needs it on screen.
class ApplicationObject : public DispatchObject<PowerPoint::Application>, public IConnectionPointContainer {
public:
    static ApplicationObject* Current();
    // What Office objects answer for Application and Creator: the current
    // application with a reference for the caller (E_FAIL when there is
    // none), and the 'MSOF' creator code.
    static HRESULT ReturnCurrent(IDispatch** result);
    static constexpr long kOfficeCreator = 0x4D534F46;

    explicit ApplicationObject(const std::wstring& version = L"14.0");

    // Ends the running shows, closes the presentations, destroys the main
    // window and detaches the event point; the object stays alive while it
    // is referenced but is no longer Current().
    void Close();

    // Version "11.0", "12.0", "14.0" or any other text; the major version is
    // the number before the first point.
    void SetVersion(const std::wstring& version) { m_version = version; }
    const std::wstring& Version() const { return m_version; }
    int MajorVersion() const;
    void SetBuild(const std::wstring& build) { m_build = build; }
    void SetPath(const std::wstring& path) { m_path = path; }

    HWND MainWindow() const { return m_mainWindow; }
    IDispatch* AsDispatch() { return static_cast<PowerPoint::Application*>(this); }
    PresentationsObject* Presentations() const { return m_presentations; }
    SlideShowWindowsObject* ShowWindows() const { return m_showWindows; }
    ComAddInsObject* AddIns() const { return m_addIns; }
    LanguageSettingsObject* Languages() const { return m_languages; }
    EventConnectionPoint* Events() const { return m_events; }

    // A new presentation owned by Presentations; it becomes the active one.
    PresentationObject* AddPresentation(const std::wstring& name);

    // Raises the application event on every advised sink (arguments in the
    // event's published order); answers each sink's HRESULT.
    std::vector<HRESULT> Raise(DISPID id, const std::vector<VARIANT>& args);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE get_Presentations(PowerPoint::Presentations** result) override;
    HRESULT STDMETHODCALLTYPE get_ActivePresentation(PowerPoint::Presentation** result) override;
    HRESULT STDMETHODCALLTYPE get_SlideShowWindows(PowerPoint::SlideShowWindows** result) override;
    HRESULT STDMETHODCALLTYPE get_Path(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE get_Name(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE get_Build(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE get_Version(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE get_HWND(long* result) override;
    HRESULT STDMETHODCALLTYPE get_COMAddIns(Office::COMAddIns** result) override;
    HRESULT STDMETHODCALLTYPE get_LanguageSettings(Office::LanguageSettings** result) override;

    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;

protected:
    ~ApplicationObject() override;
    void* QueryExtra(REFIID iid) override;

private:
    void CloseParts();
    static LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::wstring m_version;
    std::wstring m_build = L"4760";
    std::wstring m_path = L"C:\\Program Files\\Microsoft Office\\Office14";
    HWND m_mainWindow = nullptr;
    bool m_closed = false;
    PresentationsObject* m_presentations;
    SlideShowWindowsObject* m_showWindows;
    ComAddInsObject* m_addIns;
    LanguageSettingsObject* m_languages;
    EventConnectionPoint* m_events;
};

}  // namespace standin
