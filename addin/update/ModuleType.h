#pragma once
#include "base/MKGuid.h"
#include "base/MKString.h"
#include "base/MKVersion.h"

// A type record of a module package: a plug-in type the module provides,
// looked up by its GUID.
struct ModuleType {
    MKString name;
    MKString secondName;
    MKGuid guid;
    int32_t flags = 0;
    MKVersion version;
};
