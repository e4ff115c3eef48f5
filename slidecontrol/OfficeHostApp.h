#pragma once
#include "slidecontrol/MKOleDispatchDriver.h"

#include <windows.h>
#include <ocidl.h>

// The Office application that hosts a control: PowerPoint, Excel or Word,
// told apart by the type information of its Application object, which the
// host keeps. UI thread only.
class OfficeHostApp {
public:
    enum Kind { kPowerPoint = 1, kExcel = 2, kWord = 3 };

    // The application of the client site's container ("Application" of the
    // container's IDispatch): S_OK with a new host in *host; E_POINTER without
    // a site or when the container has no application, E_FAIL for an
    // application of another kind, or the failure of the call that failed.
    static HRESULT FromClientSite(HINSTANCE instance, IOleClientSite* site, OfficeHostApp** host);
    // A host for the application, taking over the reference the caller
    // gives; null (the reference released) when it is none of the three.
    static OfficeHostApp* Create(HINSTANCE instance, IDispatch* application);

    OfficeHostApp(const OfficeHostApp&) = delete;
    OfficeHostApp& operator=(const OfficeHostApp&) = delete;

    Kind GetKind() const { return m_kind; }
    MKOleDispatchDriver& Application() { return m_application; }

private:
    OfficeHostApp(Kind kind, HINSTANCE instance, IDispatch* application);

    Kind m_kind;
    HINSTANCE m_instance;
    MKOleDispatchDriver m_application;
};
