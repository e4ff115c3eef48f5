#pragma once
#include "hostapi/FlashInterfaces.h"
#include "standins/controls/DualControl.h"
#include "standins/controls/MovieScript.h"

#include <optional>
#include <string>

namespace standin {

// The stand-in Flash Player control, registered under the Flash CLSID (one
// DLL per player version: VISTELLO_FLASH_MAJOR and _MINOR, also in its
// version resource). What it implements:
// - the OLE control protocol of OleControl, windowless when the site allows
//   it and "wmode" is "transparent" or "opaque", else windowed;
// - IPersistPropertyBag and IPersistPropertyBag2, each Load applying the bag
//   again (properties "movie" or "src", "wmode", "flashvars", "bgcolor",
//   "play");
// - connection points for IPropertyNotifySink (OnChanged(-525) when a movie
//   has loaded) and _IShockwaveFlashEvents (FlashCall 197, OnProgress 1958,
//   OnReadyStateChange -609);
// - IShockwaveFlash in its published order, reached through the vtable or by
//   DISPID (FlashDispId); members that no host calls answer E_NOTIMPL.
// Movies are MovieScript texts. A movie name is bound through the site's bind
// host when the site offers one (SiteBinding), else read as a file path (a
// "file:///" prefix is dropped). Playback runs on a clock at the script's
// rate: the first tick after a load fires the load events and enters frame 0,
// every later tick of a playing movie enters the next frame, firing FlashCall
// for each timed call of the frame entered. A movie plays when it loads
// unless Playing was last set false (or "play" is "false"), so a host may
// stop the control before giving it a movie. A SetReturnValue made during
// FlashCall is recorded with the call. BackgroundColor is 0x00RRGGBB (-1
// restores white); BGColor reads and writes "#RRGGBB".
//
// Log lines, after the control name "flash": every call as
// "IShockwaveFlash.<member>(<arguments>)" or "IDispatch.Invoke(<dispid>,
// <get|put|call>)"; "movie loaded <n> frames", "movie failed 0x...",
// "movie rejected: <why>"; "fire <event>(<arguments>) = 0x..." with
// ", returned <value|nothing>" for FlashCall; "background <description>";
// "host ambient ..." once a site is set; and OleControl's lines.
class FlashControl final : public DualControl<IShockwaveFlash> {
public:
    FlashControl();

    // IDispatch
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argumentError) override;

    // IShockwaveFlash
    HRESULT STDMETHODCALLTYPE get_ReadyState(long* state) override;
    HRESULT STDMETHODCALLTYPE get_TotalFrames(long* frames) override;
    HRESULT STDMETHODCALLTYPE get_Playing(VARIANT_BOOL* playing) override;
    HRESULT STDMETHODCALLTYPE put_Playing(VARIANT_BOOL playing) override;
    HRESULT STDMETHODCALLTYPE get_Quality(int* quality) override;
    HRESULT STDMETHODCALLTYPE put_Quality(int quality) override;
    HRESULT STDMETHODCALLTYPE get_ScaleMode(int* mode) override;
    HRESULT STDMETHODCALLTYPE put_ScaleMode(int mode) override;
    HRESULT STDMETHODCALLTYPE get_AlignMode(int* mode) override;
    HRESULT STDMETHODCALLTYPE put_AlignMode(int mode) override;
    HRESULT STDMETHODCALLTYPE get_BackgroundColor(long* colour) override;
    HRESULT STDMETHODCALLTYPE put_BackgroundColor(long colour) override;
    HRESULT STDMETHODCALLTYPE get_Loop(VARIANT_BOOL* loop) override;
    HRESULT STDMETHODCALLTYPE put_Loop(VARIANT_BOOL loop) override;
    HRESULT STDMETHODCALLTYPE get_Movie(BSTR* movie) override;
    HRESULT STDMETHODCALLTYPE put_Movie(BSTR movie) override;
    HRESULT STDMETHODCALLTYPE get_FrameNum(long* frame) override;
    HRESULT STDMETHODCALLTYPE put_FrameNum(long frame) override;
    HRESULT STDMETHODCALLTYPE SetZoomRect(long left, long top, long right, long bottom) override;
    HRESULT STDMETHODCALLTYPE Zoom(int factor) override;
    HRESULT STDMETHODCALLTYPE Pan(long x, long y, int mode) override;
    HRESULT STDMETHODCALLTYPE Play() override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE Back() override;
    HRESULT STDMETHODCALLTYPE Forward() override;
    HRESULT STDMETHODCALLTYPE Rewind() override;
    HRESULT STDMETHODCALLTYPE StopPlay() override;
    HRESULT STDMETHODCALLTYPE GotoFrame(long frame) override;
    HRESULT STDMETHODCALLTYPE CurrentFrame(long* frame) override;
    HRESULT STDMETHODCALLTYPE IsPlaying(VARIANT_BOOL* playing) override;
    HRESULT STDMETHODCALLTYPE PercentLoaded(long* percent) override;
    HRESULT STDMETHODCALLTYPE FrameLoaded(long frame, VARIANT_BOOL* loaded) override;
    HRESULT STDMETHODCALLTYPE FlashVersion(long* version) override;
    HRESULT STDMETHODCALLTYPE get_WMode(BSTR* mode) override;
    HRESULT STDMETHODCALLTYPE put_WMode(BSTR mode) override;
    HRESULT STDMETHODCALLTYPE get_SAlign(BSTR* align) override;
    HRESULT STDMETHODCALLTYPE put_SAlign(BSTR align) override;
    HRESULT STDMETHODCALLTYPE get_Menu(VARIANT_BOOL* menu) override;
    HRESULT STDMETHODCALLTYPE put_Menu(VARIANT_BOOL menu) override;
    HRESULT STDMETHODCALLTYPE get_Base(BSTR* base) override;
    HRESULT STDMETHODCALLTYPE put_Base(BSTR base) override;
    HRESULT STDMETHODCALLTYPE get_Scale(BSTR* scale) override;
    HRESULT STDMETHODCALLTYPE put_Scale(BSTR scale) override;
    HRESULT STDMETHODCALLTYPE get_DeviceFont(VARIANT_BOOL* on) override;
    HRESULT STDMETHODCALLTYPE put_DeviceFont(VARIANT_BOOL on) override;
    HRESULT STDMETHODCALLTYPE get_EmbedMovie(VARIANT_BOOL* on) override;
    HRESULT STDMETHODCALLTYPE put_EmbedMovie(VARIANT_BOOL on) override;
    HRESULT STDMETHODCALLTYPE get_BGColor(BSTR* colour) override;
    HRESULT STDMETHODCALLTYPE put_BGColor(BSTR colour) override;
    HRESULT STDMETHODCALLTYPE get_Quality2(BSTR* quality) override;
    HRESULT STDMETHODCALLTYPE put_Quality2(BSTR quality) override;
    HRESULT STDMETHODCALLTYPE LoadMovie(int layer, BSTR url) override;
    HRESULT STDMETHODCALLTYPE TGotoFrame(BSTR target, long frame) override;
    HRESULT STDMETHODCALLTYPE TGotoLabel(BSTR target, BSTR label) override;
    HRESULT STDMETHODCALLTYPE TCurrentFrame(BSTR target, long* frame) override;
    HRESULT STDMETHODCALLTYPE TCurrentLabel(BSTR target, BSTR* label) override;
    HRESULT STDMETHODCALLTYPE TPlay(BSTR target) override;
    HRESULT STDMETHODCALLTYPE TStopPlay(BSTR target) override;
    HRESULT STDMETHODCALLTYPE SetVariable(BSTR name, BSTR value) override;
    HRESULT STDMETHODCALLTYPE GetVariable(BSTR name, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE TSetProperty(BSTR target, int property, BSTR value) override;
    HRESULT STDMETHODCALLTYPE TGetProperty(BSTR target, int property, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE TCallFrame(BSTR target, int frame) override;
    HRESULT STDMETHODCALLTYPE TCallLabel(BSTR target, BSTR label) override;
    HRESULT STDMETHODCALLTYPE TSetPropertyNum(BSTR target, int property, double value) override;
    HRESULT STDMETHODCALLTYPE TGetPropertyNum(BSTR target, int property, double* value) override;
    HRESULT STDMETHODCALLTYPE TGetPropertyAsNumber(BSTR target, int property, double* value) override;
    HRESULT STDMETHODCALLTYPE get_SWRemote(BSTR* remote) override;
    HRESULT STDMETHODCALLTYPE put_SWRemote(BSTR remote) override;
    HRESULT STDMETHODCALLTYPE get_FlashVars(BSTR* vars) override;
    HRESULT STDMETHODCALLTYPE put_FlashVars(BSTR vars) override;
    HRESULT STDMETHODCALLTYPE get_AllowScriptAccess(BSTR* access) override;
    HRESULT STDMETHODCALLTYPE put_AllowScriptAccess(BSTR access) override;
    HRESULT STDMETHODCALLTYPE get_MovieData(BSTR* data) override;
    HRESULT STDMETHODCALLTYPE put_MovieData(BSTR data) override;
    HRESULT STDMETHODCALLTYPE get_InlineData(IUnknown** data) override;
    HRESULT STDMETHODCALLTYPE put_InlineData(IUnknown* data) override;
    HRESULT STDMETHODCALLTYPE get_SeamlessTabbing(VARIANT_BOOL* on) override;
    HRESULT STDMETHODCALLTYPE put_SeamlessTabbing(VARIANT_BOOL on) override;
    HRESULT STDMETHODCALLTYPE EnforceLocalSecurity() override;
    HRESULT STDMETHODCALLTYPE get_Profile(VARIANT_BOOL* on) override;
    HRESULT STDMETHODCALLTYPE put_Profile(VARIANT_BOOL on) override;
    HRESULT STDMETHODCALLTYPE get_ProfileAddress(BSTR* address) override;
    HRESULT STDMETHODCALLTYPE put_ProfileAddress(BSTR address) override;
    HRESULT STDMETHODCALLTYPE get_ProfilePort(long* port) override;
    HRESULT STDMETHODCALLTYPE put_ProfilePort(long port) override;
    HRESULT STDMETHODCALLTYPE CallFunction(BSTR request, BSTR* response) override;
    HRESULT STDMETHODCALLTYPE SetReturnValue(BSTR value) override;
    HRESULT STDMETHODCALLTYPE DisableLocalSecurity() override;
    HRESULT STDMETHODCALLTYPE get_AllowNetworking(BSTR* access) override;
    HRESULT STDMETHODCALLTYPE put_AllowNetworking(BSTR access) override;
    HRESULT STDMETHODCALLTYPE get_AllowFullScreen(BSTR* access) override;
    HRESULT STDMETHODCALLTYPE put_AllowFullScreen(BSTR access) override;
protected:
    void* QueryOwn(REFIID iid) override;
    std::vector<std::wstring> BagNames() const override;
    void ApplyProperty(const std::wstring& name, const std::wstring& value) override;
    void OnPropertiesLoaded() override;
    bool WantsWindowless() const override;
    void Paint(HDC dc, const RECT& bounds, bool transparent) override;
    void OnClientSiteSet() override;
    void OnTick() override;

private:
    ~FlashControl() override = default;

    HRESULT NotImplemented(const wchar_t* member);
    std::wstring AgainstContainer(const std::wstring& name);
    void LoadMovie(const std::wstring& name);
    void OnMovieData(unsigned generation, HRESULT hr, const std::string& bytes);
    void EnterFrame();
    void FireFlashCall(const std::wstring& request);
    void Fire(const wchar_t* name, DISPID id, VARIANT argument);
    HRESULT InvokeMember(DISPID id, bool put, bool get, DISPPARAMS* params, VARIANT* result);

    std::wstring m_movieName;
    std::wstring m_pendingMovie;
    std::wstring m_flashVars;
    std::wstring m_wmode = L"window";
    std::wstring m_quality2 = L"High";
    int m_quality = 1;
    int m_scaleMode = 0;
    uint32_t m_background = 0xFFFFFF;
    long m_backgroundColor = -1;
    std::optional<MovieScript> m_movie;
    unsigned m_generation = 0;
    int m_frame = 0;
    bool m_loop = true;
    bool m_playing = false;
    bool m_playOnLoad = true;
    bool m_entered = false;
    bool m_loadEventsPending = false;
    bool m_inFlashCall = false;
    std::optional<std::wstring> m_returnValue;
};

}  // namespace standin
