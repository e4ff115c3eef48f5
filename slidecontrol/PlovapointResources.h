#pragma once

// Resource ids of plovapoint.dll (Plovapoint.rc).
#define kToolboxBitmapId 102
#define kRegistryScriptId 103
#define kIconId 128
