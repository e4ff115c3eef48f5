#pragma once
#include <windows.h>
#include <oaidl.h>

// The Flash Player ActiveX control as its hosts call it: class, automation
// interface IShockwaveFlash (a dual interface; the virtual table below is in
// its published order) and the event interface _IShockwaveFlashEvents, which
// is a dispatch interface reached by DISPID only.

inline constexpr CLSID CLSID_ShockwaveFlash = {
    0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr IID IID_IShockwaveFlash = {
    0xD27CDB6C, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr IID DIID_IShockwaveFlashEvents = {
    0xD27CDB6D, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

// DISPIDs of IShockwaveFlash members called through IDispatch.
enum FlashDispId : DISPID {
    kFlashDispReadyState = -525,
    kFlashDispMovie = 102,
    kFlashDispQuality = 105,
    kFlashDispLoop = 106,
    kFlashDispFrameNum = 107,
    kFlashDispPlay = 112,
    kFlashDispStop = 113,
    kFlashDispScaleMode = 120,
    kFlashDispBackgroundColor = 123,
    kFlashDispTotalFrames = 124,
    kFlashDispPlaying = 125,
    kFlashDispGotoFrame = 127,
    kFlashDispCurrentFrame = 128,
    kFlashDispFlashVersion = 132,
    kFlashDispWMode = 133,
    kFlashDispBGColor = 140,
    kFlashDispQuality2 = 141,
    kFlashDispFlashVars = 170,
    kFlashDispCallFunction = 198,
    kFlashDispSetReturnValue = 199,
    kFlashDispDisableLocalSecurity = 200,
};

// DISPIDs of the events.
enum FlashEventId : DISPID {
    kFlashEventReadyStateChange = -609,
    kFlashEventFSCommand = 150,
    kFlashEventFlashCall = 197,
    kFlashEventProgress = 1958,
};

struct IShockwaveFlash : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_ReadyState(long* state) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_TotalFrames(long* frames) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Playing(VARIANT_BOOL* playing) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Playing(VARIANT_BOOL playing) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Quality(int* quality) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Quality(int quality) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ScaleMode(int* mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ScaleMode(int mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AlignMode(int* mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AlignMode(int mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BackgroundColor(long* colour) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_BackgroundColor(long colour) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Loop(VARIANT_BOOL* loop) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Loop(VARIANT_BOOL loop) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Movie(BSTR* movie) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Movie(BSTR movie) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_FrameNum(long* frame) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_FrameNum(long frame) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetZoomRect(long left, long top, long right, long bottom) = 0;
    virtual HRESULT STDMETHODCALLTYPE Zoom(int factor) = 0;
    virtual HRESULT STDMETHODCALLTYPE Pan(long x, long y, int mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE Play() = 0;
    virtual HRESULT STDMETHODCALLTYPE Stop() = 0;
    virtual HRESULT STDMETHODCALLTYPE Back() = 0;
    virtual HRESULT STDMETHODCALLTYPE Forward() = 0;
    virtual HRESULT STDMETHODCALLTYPE Rewind() = 0;
    virtual HRESULT STDMETHODCALLTYPE StopPlay() = 0;
    virtual HRESULT STDMETHODCALLTYPE GotoFrame(long frame) = 0;
    virtual HRESULT STDMETHODCALLTYPE CurrentFrame(long* frame) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsPlaying(VARIANT_BOOL* playing) = 0;
    virtual HRESULT STDMETHODCALLTYPE PercentLoaded(long* percent) = 0;
    virtual HRESULT STDMETHODCALLTYPE FrameLoaded(long frame, VARIANT_BOOL* loaded) = 0;
    virtual HRESULT STDMETHODCALLTYPE FlashVersion(long* version) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_WMode(BSTR* mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_WMode(BSTR mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SAlign(BSTR* align) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_SAlign(BSTR align) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Menu(VARIANT_BOOL* menu) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Menu(VARIANT_BOOL menu) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Base(BSTR* base) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Base(BSTR base) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Scale(BSTR* scale) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Scale(BSTR scale) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DeviceFont(VARIANT_BOOL* on) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_DeviceFont(VARIANT_BOOL on) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_EmbedMovie(VARIANT_BOOL* on) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_EmbedMovie(VARIANT_BOOL on) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BGColor(BSTR* colour) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_BGColor(BSTR colour) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Quality2(BSTR* quality) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Quality2(BSTR quality) = 0;
    virtual HRESULT STDMETHODCALLTYPE LoadMovie(int layer, BSTR url) = 0;
    virtual HRESULT STDMETHODCALLTYPE TGotoFrame(BSTR target, long frame) = 0;
    virtual HRESULT STDMETHODCALLTYPE TGotoLabel(BSTR target, BSTR label) = 0;
    virtual HRESULT STDMETHODCALLTYPE TCurrentFrame(BSTR target, long* frame) = 0;
    virtual HRESULT STDMETHODCALLTYPE TCurrentLabel(BSTR target, BSTR* label) = 0;
    virtual HRESULT STDMETHODCALLTYPE TPlay(BSTR target) = 0;
    virtual HRESULT STDMETHODCALLTYPE TStopPlay(BSTR target) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetVariable(BSTR name, BSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVariable(BSTR name, BSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE TSetProperty(BSTR target, int property, BSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE TGetProperty(BSTR target, int property, BSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE TCallFrame(BSTR target, int frame) = 0;
    virtual HRESULT STDMETHODCALLTYPE TCallLabel(BSTR target, BSTR label) = 0;
    virtual HRESULT STDMETHODCALLTYPE TSetPropertyNum(BSTR target, int property, double value) = 0;
    virtual HRESULT STDMETHODCALLTYPE TGetPropertyNum(BSTR target, int property, double* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE TGetPropertyAsNumber(BSTR target, int property, double* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SWRemote(BSTR* remote) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_SWRemote(BSTR remote) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_FlashVars(BSTR* vars) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_FlashVars(BSTR vars) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AllowScriptAccess(BSTR* access) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AllowScriptAccess(BSTR access) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_MovieData(BSTR* data) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_MovieData(BSTR data) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_InlineData(IUnknown** data) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_InlineData(IUnknown* data) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SeamlessTabbing(VARIANT_BOOL* on) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_SeamlessTabbing(VARIANT_BOOL on) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnforceLocalSecurity() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Profile(VARIANT_BOOL* on) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Profile(VARIANT_BOOL on) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ProfileAddress(BSTR* address) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ProfileAddress(BSTR address) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ProfilePort(long* port) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ProfilePort(long port) = 0;
    virtual HRESULT STDMETHODCALLTYPE CallFunction(BSTR request, BSTR* response) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetReturnValue(BSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE DisableLocalSecurity() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AllowNetworking(BSTR* access) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AllowNetworking(BSTR access) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AllowFullScreen(BSTR* access) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AllowFullScreen(BSTR access) = 0;
};
