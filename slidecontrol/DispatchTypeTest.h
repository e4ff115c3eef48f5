#pragma once
#include <windows.h>
#include <oaidl.h>

// Whether the object's type information (GetTypeInfo(0, 1024)) describes the
// interface: how Office objects are told apart. False for a null object or
// when the type information or its attributes cannot be read.
bool IsDispatchOfType(IDispatch* object, const GUID& type);
