// The stand-in Flash Player control's COM server.
#include "standins/controls/ControlModule.h"
#include "standins/flash/FlashControl.h"

STANDIN_CONTROL_SERVER(standin::FlashControl, CLSID_ShockwaveFlash, L"Shockwave Flash Object",
                       L"ShockwaveFlash.ShockwaveFlash")
