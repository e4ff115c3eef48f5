// The stand-in QuickTime plug-in control's COM server.
#include "standins/controls/ControlModule.h"
#include "standins/quicktime/QuickTimePlugin.h"

STANDIN_CONTROL_SERVER(standin::QuickTimePlugin, CLSID_QuickTimePlugin, L"QuickTime Plugin Control",
                       L"QuickTimeCheckObject.QuickTimePlugin")
