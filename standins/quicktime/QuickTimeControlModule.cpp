// The stand-in QuickTime Control's COM server.
#include "standins/controls/ControlModule.h"
#include "standins/quicktime/QuickTimeControl.h"

STANDIN_CONTROL_SERVER(standin::QuickTimeControl, CLSID_QuickTimeControl, L"QuickTime Control",
                       L"QTOControl.QTControl")
