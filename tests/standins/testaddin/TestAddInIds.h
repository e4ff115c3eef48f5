#pragma once
#include <windows.h>

// Identity of the test add-in, shared by the DLL and the tests that load it.
#define TEST_ADDIN_PROGID L"StandInTests.AddIn"
#define TEST_ADDIN_CLSID_TEXT L"{5E1A2B3C-7D8E-4F90-A1B2-C3D4E5F60718}"
inline constexpr CLSID CLSID_TestAddIn = {0x5E1A2B3C, 0x7D8E, 0x4F90, {0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6, 0x07, 0x18}};

// Exports besides the COM server's: the add-in's record of what happened to
// it, one line per entry, and its reset.
using TestAddInEventsFunction = const wchar_t*(__stdcall*)();
using TestAddInResetFunction = void(__stdcall*)();
