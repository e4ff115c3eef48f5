#pragma once
#include <windows.h>
#include <oaidl.h>

// The trampoline server's identifiers and its class's default interface.

extern const CLSID CLSID_VistelloTrampolineObject;
extern const IID IID_IVistelloTrampolineObject;
extern const GUID LIBID_VistelloTrampolineLib;

extern const wchar_t kTrampolineClassIdText[];
extern const wchar_t kTrampolineLibIdText[];
extern const wchar_t kTrampolineAppIdText[];

// The default interface: IDispatch with no members of its own, described by
// the program's type library (resource TYPELIB 1).
struct IVistelloTrampolineObject : public IDispatch {};
