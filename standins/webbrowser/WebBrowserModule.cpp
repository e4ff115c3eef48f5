// The stand-in WebBrowser control's COM server. It takes over the WebBrowser
// class's InprocServer32 only; the ProgIDs stay those of the prefix.
#include "standins/controls/ControlModule.h"
#include "standins/webbrowser/WebBrowserControl.h"

STANDIN_CONTROL_SERVER(standin::WebBrowserControl, CLSID_WebBrowserControl, L"Stand-in WebBrowser control", nullptr)
