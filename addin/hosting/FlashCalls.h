#pragma once
#include "base/MKString.h"
#include "base/MKVersion.h"

#include <oaidl.h>
#include <windows.h>
#include <stdint.h>

class ActiveXNode;
struct IShockwaveFlash;

// The calls the Flash and effect movie nodes make on their Flash control's
// IShockwaveFlash. Each answers E_FAIL when the node has no control (or the
// control no such interface) and otherwise the control's own answer.
namespace FlashCalls {

// The installed Flash Player's version: the hosting module's cache when it
// runs, else probed now (0.0.-1.-1 when none is installed).
MKVersion InstalledVersion();

// The control's interface with one reference for the caller, or null.
IShockwaveFlash* Query(const ActiveXNode& node);
HRESULT SetPlaying(const ActiveXNode& node, bool playing);
HRESULT IsPlaying(const ActiveXNode& node, bool& playing);
HRESULT GotoFrame(const ActiveXNode& node, int32_t frame);
HRESULT GetCurrentFrame(const ActiveXNode& node, int32_t& frame);
// E_NOTIMPL, without asking the control, for players before version 8.
// `response` (may be null) receives the movie's answer.
HRESULT CallFunction(const ActiveXNode& node, int playerMajor, const MKString& request, MKString* response);
// A null text sets no return value.
HRESULT SetReturnValue(const ActiveXNode& node, const wchar_t* value);
HRESULT SetBackgroundColorText(const ActiveXNode& node, const MKString& colour);
HRESULT GetBackgroundColorText(const ActiveXNode& node, MKString& colour);

// A new moniker (one reference) named "C:\", the drive of the virtual root,
// against which the control resolves relative addresses.
HRESULT DriveMoniker(IMoniker** moniker);

// Whether a call of the control's event interface carries the arguments of
// its event: S_OK for FSCommand (150: two VT_BSTR), FlashCall (197: one
// VT_BSTR), OnProgress (1958: one VT_I4) and OnReadyStateChange (-609: one
// VT_I4); DISP_E_BADPARAMCOUNT or DISP_E_BADVARTYPE for their wrong
// arguments; DISP_E_MEMBERNOTFOUND for any other DISPID.
HRESULT CheckEvent(DISPID id, const DISPPARAMS* params);

}  // namespace FlashCalls
