#include "companions/trampoline/TrampolineIds.h"

const CLSID CLSID_VistelloTrampolineObject = {
    0x522D7408, 0x728B, 0x4F76, {0x9D, 0xDC, 0xCA, 0x67, 0x04, 0x0A, 0x73, 0x6C}};
const IID IID_IVistelloTrampolineObject = {
    0xC7163090, 0xFC00, 0x4B8B, {0xBC, 0x77, 0x83, 0x0A, 0x6E, 0xDF, 0x32, 0x69}};
const GUID LIBID_VistelloTrampolineLib = {
    0x076D5527, 0x53FC, 0x45AF, {0xBF, 0xD4, 0xC2, 0xDE, 0xE0, 0xCA, 0x17, 0x7C}};

const wchar_t kTrampolineClassIdText[] = L"{522D7408-728B-4F76-9DDC-CA67040A736C}";
const wchar_t kTrampolineLibIdText[] = L"{076D5527-53FC-45AF-BFD4-C2DEE0CA177C}";
const wchar_t kTrampolineAppIdText[] = L"{DE65A14E-2D81-4FE7-B39D-51945948C6EC}";
