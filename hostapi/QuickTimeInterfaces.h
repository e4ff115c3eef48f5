#pragma once
#include <windows.h>
#include <oaidl.h>

// The two QuickTime controls as their hosts call them. Both are called by
// virtual-table position ("slot", counting from 0 at QueryInterface; the
// seven IUnknown and IDispatch operations come first), with the argument
// types given beside each slot; QuickTimeSlot reads a slot's function.

// The QuickTime Control: an ActiveX control with a window of its own.
inline constexpr CLSID CLSID_QuickTimeControl = {
    0x24BA3CAF, 0x4BE8, 0x4AEC, {0xA7, 0xC8, 0x6F, 0x47, 0xD5, 0x68, 0x46, 0x02}};
// Its control interface (a dual interface called by slot).
inline constexpr IID IID_IQuickTimeControl = {
    0x89F5E74B, 0x641D, 0x48BD, {0xBF, 0x81, 0xDA, 0xDC, 0xE7, 0xDC, 0x83, 0xFC}};
// Its event dispatch interface.
inline constexpr IID DIID_QuickTimeControlEvents = {
    0x614E1495, 0x1014, 0x44F8, {0xB3, 0x50, 0x53, 0x44, 0xC0, 0x77, 0x0C, 0x1E}};

enum QuickTimeControlSlot : int {
    kQtControlSetBorderColor = 10,        // long 0x00RRGGBB
    kQtControlSetBorderStyle = 12,        // long
    kQtControlInitialise = 14,            // VARIANT, VARIANT, long* out
    kQtControlSetUrl = 17,                // BSTR
    kQtControlGetMovie = 24,              // IDispatch** out: the movie object, or null without movie
    kQtControlSetControllerVisible = 36,  // VARIANT_BOOL
    kQtControlSetControlFlag = 42,        // VARIANT_BOOL
    kQtControlSetSizing = 55,             // long
    kQtControlSetAutoPlay = 61,           // BSTR "true" or "false"
    kQtControlSlotCount = 62,
};

// The movie object handed out by kQtControlGetMovie, also called by slot.
enum QuickTimeMovieSlot : int {
    kQtMovieSetFlag = 28,       // VARIANT_BOOL
    kQtMovieGetRect = 128,      // RECT* out {left, top, right, bottom}
    kQtMovieCommand1 = 181,     // no arguments
    kQtMoviePlay = 182,         // VARIANT (VT_ERROR DISP_E_PARAMNOTFOUND when left out)
    kQtMovieCommand3 = 187,     // no arguments
    kQtMovieCommand4 = 193,     // no arguments
    kQtMovieCommand2 = 197,     // no arguments
    kQtMovieSlotCount = 198,
};

// Events of the QuickTime Control (DISPIDs). Status is (I4, I4, BSTR); a
// second value of kQuickTimeStatusLoaded reports that the movie set with
// kQtControlSetUrl has loaded.
enum QuickTimeControlEvent : DISPID {
    kQtEventStatus = 4,
};
inline constexpr long kQuickTimeStatusLoaded = 4099;

// The QuickTime plug-in control: windowed, or windowless with "wmode"
// "transparent"; it loads "src" through its site's bind host.
inline constexpr CLSID CLSID_QuickTimePlugin = {
    0x02BF25D5, 0x8C17, 0x4B23, {0xBC, 0x80, 0xD3, 0x48, 0x8A, 0xBD, 0xDC, 0x6B}};
inline constexpr IID IID_IQuickTimePlugin = {
    0x02BF25D3, 0x8C17, 0x4B23, {0xBC, 0x80, 0xD3, 0x48, 0x8A, 0xBD, 0xDC, 0x6B}};

enum QuickTimePluginSlot : int {
    kQtPluginSetAutoPlay = 43,  // long 1 or 0
    kQtPluginSetSrc = 57,       // BSTR
    kQtPluginSlotCount = 58,
};

// Slot function types (the object comes first, as in every COM call).
using QtNoArgumentSlot = HRESULT(STDMETHODCALLTYPE*)(IUnknown*);
using QtLongSlot = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, long);
using QtBoolSlot = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, VARIANT_BOOL);
using QtTextSlot = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, BSTR);
using QtVariantSlot = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, VARIANT);
using QtInitialiseSlotFn = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, VARIANT, VARIANT, long*);
using QtObjectSlot = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, IDispatch**);
using QtRectSlot = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, RECT*);

// The function at `slot` of the object's virtual table, as type F.
template <class F>
F QuickTimeSlot(IUnknown* object, int slot)
{
    return reinterpret_cast<F>((*reinterpret_cast<void***>(object))[slot]);
}
