#pragma once
#include <windows.h>

// The add-in's COM class and the names under which Office knows it.
inline constexpr CLSID CLSID_VistelloAddIn = {0x72C90439, 0x0243, 0x496A,
                                              {0x9F, 0x40, 0x22, 0xBE, 0x2B, 0x13, 0x1C, 0xA1}};
// Written with the lower-case "a" that earlier releases registered; the
// registry compares key names without regard to case.
inline constexpr wchar_t kAddInClassIdText[] = L"{72C90439-0243-496a-9F40-22BE2B131CA1}";
inline constexpr wchar_t kAddInProgId[] = L"Vistello.AddIn";
inline constexpr wchar_t kAddInName[] = L"Vistello";
inline constexpr wchar_t kAddInDescription[] = L"Vistello Add-In for Microsoft Office PowerPoint";
// Office loads the add-in at start-up and keeps it loaded.
inline constexpr DWORD kAddInLoadBehavior = 3;
