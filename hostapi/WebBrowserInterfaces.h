#pragma once
#include <windows.h>
#include <exdisp.h>
#include <exdispid.h>
#include <mshtmhst.h>

// The WebBrowser control as its hosts use it: IWebBrowser2, the events of
// DWebBrowserEvents2 (DISPIDs from exdispid.h) and the document-host
// questions it asks its site (IDocHostUIHandler).
inline constexpr CLSID CLSID_WebBrowserControl = {
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
