#pragma once
#include <windows.h>
#include <oaidl.h>

// Office's add-in and ribbon interfaces as Office publishes them, declared in
// their published virtual-table order up to the last member the add-in uses.
// Members the add-in never calls keep their slot only (OFFICE_UNUSED_SLOT): they
// take no arguments and must never be called; their bodies answer E_NOTIMPL so
// that objects implementing an interface need not spell them out. Failure
// HRESULTs of any member mean that the value or object is absent.

#define OFFICE_UNUSED_SLOT(name) \
    virtual HRESULT STDMETHODCALLTYPE Unused_##name() { return E_NOTIMPL; }

namespace Office {

inline constexpr IID IID_IMsoDispObj = {0x000C0300, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_COMAddIns = {0x000C0339, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_COMAddIn = {0x000C033A, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_LanguageSettings = {0x000C0353, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IRibbonControl = {0x000C0395, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IRibbonExtensibility = {0x000C0396, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IRibbonUI = {0x000C03A7, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IDTExtensibility2 = {0xB65AD801, 0xABAF, 0x11D0, {0xBB, 0x8B, 0x00, 0xA0, 0xC9, 0x0F, 0x27, 0x44}};

// ext_ConnectMode and ext_DisconnectMode of IDTExtensibility2.
enum : long {
    ext_cm_AfterStartup = 0,
    ext_cm_Startup = 1,
    ext_cm_External = 2,
    ext_cm_CommandLine = 3,
};
enum : long {
    ext_dm_HostShutdown = 0,
    ext_dm_UserClosed = 1,
};

// MsoAppLanguageID, the argument of LanguageSettings.LanguageID.
enum : long {
    msoLanguageIDInstall = 1,
    msoLanguageIDUI = 2,
    msoLanguageIDHelp = 3,
    msoLanguageIDExeMode = 4,
    msoLanguageIDUIPrevious = 5,
};

// _IMsoDispObj: the base of Office's shared objects.
struct IMsoDispObj : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_Application(IDispatch** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Creator(long* result) = 0;
};

struct COMAddIn : public IMsoDispObj {
    virtual HRESULT STDMETHODCALLTYPE get_Description(BSTR* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Description(BSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ProgId(BSTR* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Guid(BSTR* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Connect(VARIANT_BOOL* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Connect(VARIANT_BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Object(IDispatch** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Object(IDispatch* value) = 0;
};

struct COMAddIns : public IMsoDispObj {
    // Index: a VT_I4 position from 1, or a ProgID text.
    virtual HRESULT STDMETHODCALLTYPE Item(VARIANT* index, COMAddIn** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Count(long* result) = 0;
    OFFICE_UNUSED_SLOT(get_NewEnum)
    // Reads the Office add-in registry entries again.
    virtual HRESULT STDMETHODCALLTYPE Update() = 0;
};

struct LanguageSettings : public IMsoDispObj {
    virtual HRESULT STDMETHODCALLTYPE get_LanguageID(long id, int* result) = 0;
};

struct IRibbonUI : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE Invalidate() = 0;
    virtual HRESULT STDMETHODCALLTYPE InvalidateControl(BSTR controlId) = 0;
};

struct IRibbonControl : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_Id(BSTR* result) = 0;
};

struct IRibbonExtensibility : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR ribbonId, BSTR* ribbonXml) = 0;
};

// The COM add-in contract: Office calls these in the order OnConnection,
// OnAddInsUpdate, OnStartupComplete, OnBeginShutdown, OnDisconnection.
struct IDTExtensibility2 : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* application, long connectMode,
                                                   IDispatch* addInInst, SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnDisconnection(long removeMode, SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) = 0;
};

}  // namespace Office
