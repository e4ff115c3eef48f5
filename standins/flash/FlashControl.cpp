#include "standins/flash/FlashControl.h"

#include "standins/controls/BstrText.h"
#include "standins/controls/ColourFill.h"
#include "standins/controls/ColourText.h"
#include "standins/controls/ControlLog.h"
#include "standins/controls/SiteBinding.h"
#include "standins/flash/BackgroundPicture.h"
#include "standins/flash/SwfBackgroundMovie.h"

#include <algorithm>
#include <type_traits>
#include <cwchar>
#include <olectl.h>

namespace standin {
namespace {

const DISPID kAmbientIds[] = {DISPID_AMBIENT_USERMODE, DISPID_AMBIENT_UIDEAD, DISPID_AMBIENT_BACKCOLOR,
                              DISPID_AMBIENT_APPEARANCE};
const wchar_t* const kAmbientNames[] = {L"UserMode", L"UIDead", L"BackColor", L"Appearance"};

std::wstring BoolText(VARIANT_BOOL value)
{
    return value ? L"true" : L"false";
}

// The argument at declared position `index`, coerced to `type`.
HRESULT Argument(DISPPARAMS* params, UINT index, VARTYPE type, VARIANT& value)
{
    VariantInit(&value);
    if (!params || index >= params->cArgs)
        return DISP_E_BADPARAMCOUNT;
    return VariantChangeType(&value, &params->rgvarg[params->cArgs - 1 - index], 0, type);
}

// The variant type and field that carry a member's value type.
template <class T>
constexpr VARTYPE VariantTypeOf()
{
    if constexpr (std::is_same_v<T, BSTR>)
        return VT_BSTR;
    else if constexpr (std::is_same_v<T, VARIANT_BOOL>)
        return VT_BOOL;
    else
        return VT_I4;
}

template <class T>
T& Field(VARIANT& value)
{
    if constexpr (std::is_same_v<T, BSTR>)
        return value.bstrVal;
    else if constexpr (std::is_same_v<T, VARIANT_BOOL>)
        return value.boolVal;
    else if constexpr (std::is_same_v<T, int>)
        return value.intVal;  // the same four bytes as lVal, typed for int members
    else
        return value.lVal;
}

template <class M>
struct MemberArgument;
template <class C, class T>
struct MemberArgument<HRESULT (STDMETHODCALLTYPE C::*)(T)> {
    using Type = T;
};

// A property reached by DISPID: put coerces the one argument to the
// member's type; get writes the value into the result.
template <class C, class T>
HRESULT Property(C* object, bool put, DISPPARAMS* params, VARIANT* out, HRESULT (STDMETHODCALLTYPE C::*putter)(T),
                 HRESULT (STDMETHODCALLTYPE C::*getter)(T*))
{
    if (!put) {
        out->vt = VariantTypeOf<T>();
        return (object->*getter)(&Field<T>(*out));
    }
    VARIANT argument;
    HRESULT hr = Argument(params, 0, VariantTypeOf<T>(), argument);
    if (SUCCEEDED(hr))
        hr = (object->*putter)(Field<T>(argument));
    VariantClear(&argument);
    return hr;
}

}  // namespace

FlashControl::FlashControl()
    : DualControl(L"flash", CLSID_ShockwaveFlash, &DIID_IShockwaveFlashEvents, L"_IShockwaveFlashEvents")
{
}

void* FlashControl::QueryOwn(REFIID iid)
{
    if (iid == IID_IDispatch || iid == IID_IShockwaveFlash)
        return static_cast<IShockwaveFlash*>(this);
    return nullptr;
}

HRESULT FlashControl::NotImplemented(const wchar_t* member)
{
    Log(std::wstring(L"IShockwaveFlash.") + member + L" = " + Hex(E_NOTIMPL));
    return E_NOTIMPL;
}

// Start-up properties

std::vector<std::wstring> FlashControl::BagNames() const
{
    return {L"movie", L"src", L"wmode", L"flashvars", L"bgcolor", L"play"};
}

void FlashControl::ApplyProperty(const std::wstring& name, const std::wstring& value)
{
    if (name == L"movie" || name == L"src")
        m_pendingMovie = value;
    else if (name == L"wmode")
        m_wmode = value;
    else if (name == L"flashvars")
        m_flashVars = value;
    else if (name == L"bgcolor")
        ParseRgbText(value.c_str(), m_background);
    else if (name == L"play")
        m_playOnLoad = _wcsicmp(value.c_str(), L"false") != 0;
}

void FlashControl::OnPropertiesLoaded()
{
    if (m_pendingMovie.empty())
        return;
    m_movieName = m_pendingMovie;
    m_pendingMovie.clear();
    LoadMovie(m_movieName);
}

bool FlashControl::WantsWindowless() const
{
    return _wcsicmp(m_wmode.c_str(), L"transparent") == 0 || _wcsicmp(m_wmode.c_str(), L"opaque") == 0;
}

void FlashControl::OnClientSiteSet()
{
    IDispatch* ambient = nullptr;
    if (FAILED(ClientSite()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&ambient))) || !ambient) {
        Log(L"host ambient none");
        return;
    }
    std::wstring line = L"host ambient";
    for (size_t i = 0; i < 4; ++i) {
        VARIANT value;
        VariantInit(&value);
        DISPPARAMS none = {nullptr, nullptr, 0, 0};
        HRESULT hr = ambient->Invoke(kAmbientIds[i], IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &value,
                                     nullptr, nullptr);
        VARIANT text;
        VariantInit(&text);
        line += std::wstring(L" ") + kAmbientNames[i] + L"=";
        if (SUCCEEDED(hr) && SUCCEEDED(VariantChangeType(&text, &value, VARIANT_ALPHABOOL, VT_BSTR)))
            line += text.bstrVal;
        else
            line += Hex(hr);
        VariantClear(&text);
        VariantClear(&value);
    }
    ambient->Release();
    Log(line);
}

// Movies and playback

// A relative name is taken against the container's moniker, as the player
// does inside a page; an absolute name or a container without one keeps it.
std::wstring FlashControl::AgainstContainer(const std::wstring& name)
{
    if (name.empty() || name.find(L':') != std::wstring::npos || name[0] == L'\\' || name[0] == L'/')
        return name;
    IOleClientSite* site = ClientSite();
    IMoniker* moniker = nullptr;
    HRESULT hr = site ? site->GetMoniker(OLEGETMONIKER_ONLYIFTHERE, OLEWHICHMK_CONTAINER, &moniker) : E_POINTER;
    std::wstring base;
    if (SUCCEEDED(hr) && moniker) {
        IBindCtx* context = nullptr;
        LPOLESTR display = nullptr;
        if (SUCCEEDED(CreateBindCtx(0, &context)) && SUCCEEDED(moniker->GetDisplayName(context, nullptr, &display)) &&
            display) {
            base = display;
            CoTaskMemFree(display);
        }
        if (context)
            context->Release();
        moniker->Release();
    }
    Log(L"site GetMoniker = " + Hex(hr) + L" " + Quote(base.c_str()));
    return base + name;
}

void FlashControl::LoadMovie(const std::wstring& given)
{
    const std::wstring name = AgainstContainer(given);
    unsigned generation = ++m_generation;
    m_movie.reset();
    m_playing = false;
    StopClock();
    auto done = [this, generation](HRESULT hr, const std::string& bytes) { OnMovieData(generation, hr, bytes); };
    SiteBinding::Load(ClientSite(), name, static_cast<IOleObject*>(this), [this](const std::wstring& line) { Log(line); },
                      done);
}

void FlashControl::OnMovieData(unsigned generation, HRESULT hr, const std::string& bytes)
{
    if (generation != m_generation)
        return;
    if (FAILED(hr)) {
        Log(L"movie failed " + Hex(hr));
        return;
    }
    MovieScript script;
    std::wstring error;
    const bool swf = bytes.compare(0, 3, "FWS") == 0;
    if (!(swf ? ParseSwfBackgroundMovie(bytes, script, error) : MovieScript::Parse(bytes, script, error))) {
        Log(L"movie rejected: " + error);
        return;
    }
    Log(L"movie loaded " + std::to_wstring(script.frames.size()) + L" frames");
    m_loop = script.loop;
    int rate = script.rate;
    m_movie = std::move(script);
    m_frame = 0;
    m_entered = false;
    m_playing = m_playOnLoad;
    m_loadEventsPending = true;
    StartClock(1000 / rate > 0 ? 1000 / rate : 1);
    Invalidate();
}

void FlashControl::OnTick()
{
    if (!m_movie)
        return;
    if (m_loadEventsPending) {
        m_loadEventsPending = false;
        Log(L"fire OnChanged(-525)");
        PropertyNotify().FireChanged(kFlashDispReadyState);
        VARIANT argument;
        argument.vt = VT_I4;
        argument.lVal = 100;
        Fire(L"OnProgress", kFlashEventProgress, argument);
        argument.lVal = 4;
        Fire(L"OnReadyStateChange", kFlashEventReadyStateChange, argument);
    }
    if (!m_movie)
        return;
    if (!m_entered) {
        EnterFrame();
        return;
    }
    if (!m_playing)
        return;
    int next = m_frame + 1;
    if (next >= static_cast<int>(m_movie->frames.size())) {
        if (!m_loop) {
            m_playing = false;
            return;
        }
        next = 0;
    }
    m_frame = next;
    EnterFrame();
}

void FlashControl::EnterFrame()
{
    m_entered = true;
    int frame = m_frame;
    unsigned generation = m_generation;
    Invalidate();
    std::vector<MovieScript::TimedCall> calls = m_movie->calls;
    for (const MovieScript::TimedCall& call : calls) {
        // A host may load another movie from inside an event.
        if (call.frame == frame && generation == m_generation)
            FireFlashCall(call.request);
    }
}

void FlashControl::Fire(const wchar_t* name, DISPID id, VARIANT argument)
{
    HRESULT hr = Events()->Fire(id, {argument});
    Log(std::wstring(L"fire ") + name + L"(" + std::to_wstring(argument.lVal) + L") = " + Hex(hr));
}

void FlashControl::FireFlashCall(const std::wstring& request)
{
    VARIANT argument;
    argument.vt = VT_BSTR;
    argument.bstrVal = SysAllocStringLen(request.data(), static_cast<UINT>(request.size()));
    m_inFlashCall = true;
    m_returnValue.reset();
    HRESULT hr = Events()->Fire(kFlashEventFlashCall, {argument});
    m_inFlashCall = false;
    SysFreeString(argument.bstrVal);
    Log(L"fire FlashCall(" + Quote(request.c_str()) + L") = " + Hex(hr) + L", returned " +
        (m_returnValue ? Quote(m_returnValue->c_str()) : std::wstring(L"nothing")));
}

void FlashControl::Paint(HDC dc, const RECT& bounds, bool transparent)
{
    if (!transparent) {
        uint32_t background = m_backgroundColor >= 0 ? static_cast<uint32_t>(m_backgroundColor) : m_background;
        FillArgb(dc, bounds, 0xFF000000 | background);
    }
    if (m_movie)
        FillArgb(dc, bounds, m_movie->frames[m_frame]);
}

// IDispatch

HRESULT FlashControl::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                             UINT*)
{
    bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    bool get = !put && (flags & DISPATCH_PROPERTYGET) != 0;
    Log(L"IDispatch.Invoke(" + std::to_wstring(id) + L", " + (put ? L"put" : get ? L"get" : L"call") + L")");
    if (result)
        VariantInit(result);
    HRESULT hr = InvokeMember(id, put, get, params, result);
    if (hr == DISP_E_MEMBERNOTFOUND)
        Log(L"IDispatch.Invoke(" + std::to_wstring(id) + L") = " + Hex(hr));
    return hr;
}

HRESULT FlashControl::InvokeMember(DISPID id, bool put, bool, DISPPARAMS* params, VARIANT* result)
{
    VARIANT scratch;
    VariantInit(&scratch);
    VARIANT* out = result ? result : &scratch;
    auto property = [&](auto putter, auto getter) { return Property(this, put, params, out, putter, getter); };
    auto withArgument = [&](auto method) {
        using Value = typename MemberArgument<decltype(method)>::Type;
        VARIANT argument;
        HRESULT hr = Argument(params, 0, VariantTypeOf<Value>(), argument);
        if (SUCCEEDED(hr))
            hr = (this->*method)(Field<Value>(argument));
        VariantClear(&argument);
        return hr;
    };
    auto answer = [&](auto method) {
        using Value = typename MemberArgument<decltype(method)>::Type;
        out->vt = VariantTypeOf<std::remove_pointer_t<Value>>();
        return (this->*method)(&Field<std::remove_pointer_t<Value>>(*out));
    };
    HRESULT hr = DISP_E_MEMBERNOTFOUND;
    switch (id) {
    case kFlashDispReadyState: hr = answer(&FlashControl::get_ReadyState); break;
    case kFlashDispMovie: hr = property(&FlashControl::put_Movie, &FlashControl::get_Movie); break;
    case kFlashDispLoop: hr = property(&FlashControl::put_Loop, &FlashControl::get_Loop); break;
    case kFlashDispFrameNum: hr = property(&FlashControl::put_FrameNum, &FlashControl::get_FrameNum); break;
    case kFlashDispPlay: hr = Play(); break;
    case kFlashDispStop: hr = Stop(); break;
    case kFlashDispScaleMode: hr = property(&FlashControl::put_ScaleMode, &FlashControl::get_ScaleMode); break;
    case kFlashDispBackgroundColor:
        hr = property(&FlashControl::put_BackgroundColor, &FlashControl::get_BackgroundColor);
        break;
    case kFlashDispTotalFrames: hr = answer(&FlashControl::get_TotalFrames); break;
    case kFlashDispPlaying: hr = property(&FlashControl::put_Playing, &FlashControl::get_Playing); break;
    case kFlashDispGotoFrame: hr = withArgument(&FlashControl::GotoFrame); break;
    case kFlashDispCurrentFrame: hr = answer(&FlashControl::CurrentFrame); break;
    case kFlashDispFlashVersion: hr = answer(&FlashControl::FlashVersion); break;
    case kFlashDispWMode: hr = property(&FlashControl::put_WMode, &FlashControl::get_WMode); break;
    case kFlashDispBGColor: hr = property(&FlashControl::put_BGColor, &FlashControl::get_BGColor); break;
    case kFlashDispQuality2: hr = property(&FlashControl::put_Quality2, &FlashControl::get_Quality2); break;
    case kFlashDispFlashVars: hr = property(&FlashControl::put_FlashVars, &FlashControl::get_FlashVars); break;
    case kFlashDispCallFunction: {
        VARIANT argument;
        hr = Argument(params, 0, VT_BSTR, argument);
        if (SUCCEEDED(hr)) {
            out->vt = VT_BSTR;
            hr = CallFunction(argument.bstrVal, &out->bstrVal);
        }
        VariantClear(&argument);
        break;
    }
    case kFlashDispSetReturnValue: hr = withArgument(&FlashControl::SetReturnValue); break;
    case kFlashDispDisableLocalSecurity: hr = DisableLocalSecurity(); break;
    }
    if (FAILED(hr))
        VariantClear(out);
    VariantClear(&scratch);
    return hr;
}

// IShockwaveFlash members that hosts use

HRESULT FlashControl::get_ReadyState(long* state)
{
    Log(L"IShockwaveFlash.get_ReadyState");
    if (!state)
        return E_POINTER;
    *state = m_movie ? 4 : 0;
    return S_OK;
}

HRESULT FlashControl::get_TotalFrames(long* frames)
{
    Log(L"IShockwaveFlash.get_TotalFrames");
    if (!frames)
        return E_POINTER;
    *frames = m_movie ? static_cast<long>(m_movie->frames.size()) : 0;
    return S_OK;
}

HRESULT FlashControl::get_Playing(VARIANT_BOOL* playing)
{
    Log(L"IShockwaveFlash.get_Playing");
    if (!playing)
        return E_POINTER;
    *playing = m_playing ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT FlashControl::put_Playing(VARIANT_BOOL playing)
{
    Log(L"IShockwaveFlash.put_Playing(" + BoolText(playing) + L")");
    m_playOnLoad = playing != VARIANT_FALSE;
    m_playing = m_playOnLoad && m_movie;
    return S_OK;
}

HRESULT FlashControl::get_Quality(int* quality)
{
    Log(L"IShockwaveFlash.get_Quality");
    if (!quality)
        return E_POINTER;
    *quality = m_quality;
    return S_OK;
}

HRESULT FlashControl::put_Quality(int quality)
{
    Log(L"IShockwaveFlash.put_Quality(" + std::to_wstring(quality) + L")");
    m_quality = quality;
    return S_OK;
}

HRESULT FlashControl::get_ScaleMode(int* mode)
{
    Log(L"IShockwaveFlash.get_ScaleMode");
    if (!mode)
        return E_POINTER;
    *mode = m_scaleMode;
    return S_OK;
}

HRESULT FlashControl::put_ScaleMode(int mode)
{
    Log(L"IShockwaveFlash.put_ScaleMode(" + std::to_wstring(mode) + L")");
    m_scaleMode = mode;
    return S_OK;
}

HRESULT FlashControl::get_BackgroundColor(long* colour)
{
    Log(L"IShockwaveFlash.get_BackgroundColor");
    if (!colour)
        return E_POINTER;
    *colour = m_backgroundColor;
    return S_OK;
}

HRESULT FlashControl::put_BackgroundColor(long colour)
{
    Log(L"IShockwaveFlash.put_BackgroundColor(" + std::to_wstring(colour) + L")");
    m_backgroundColor = colour < 0 ? -1 : colour & 0xFFFFFF;
    Invalidate();
    return S_OK;
}

HRESULT FlashControl::get_Loop(VARIANT_BOOL* loop)
{
    Log(L"IShockwaveFlash.get_Loop");
    if (!loop)
        return E_POINTER;
    *loop = m_loop ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT FlashControl::put_Loop(VARIANT_BOOL loop)
{
    Log(L"IShockwaveFlash.put_Loop(" + BoolText(loop) + L")");
    m_loop = loop != VARIANT_FALSE;
    return S_OK;
}

HRESULT FlashControl::get_Movie(BSTR* movie)
{
    Log(L"IShockwaveFlash.get_Movie");
    return CopyToBstr(m_movieName, movie);
}

HRESULT FlashControl::put_Movie(BSTR movie)
{
    Log(L"IShockwaveFlash.put_Movie(" + Quote(movie) + L")");
    m_movieName = movie ? movie : L"";
    LoadMovie(m_movieName);
    return S_OK;
}

HRESULT FlashControl::get_FrameNum(long* frame)
{
    Log(L"IShockwaveFlash.get_FrameNum");
    if (!frame)
        return E_POINTER;
    *frame = m_frame;
    return S_OK;
}

HRESULT FlashControl::put_FrameNum(long frame)
{
    Log(L"IShockwaveFlash.put_FrameNum(" + std::to_wstring(frame) + L")");
    if (!m_movie || frame < 0)
        return E_FAIL;
    m_frame = std::min(frame, static_cast<long>(m_movie->frames.size()) - 1);
    m_entered = false;
    Invalidate();
    return S_OK;
}

HRESULT FlashControl::Play()
{
    Log(L"IShockwaveFlash.Play");
    m_playing = m_movie.has_value();
    return S_OK;
}

HRESULT FlashControl::Stop()
{
    Log(L"IShockwaveFlash.Stop");
    m_playing = false;
    return S_OK;
}

HRESULT FlashControl::Rewind()
{
    Log(L"IShockwaveFlash.Rewind");
    m_frame = 0;
    m_entered = false;
    Invalidate();
    return S_OK;
}

HRESULT FlashControl::StopPlay()
{
    Log(L"IShockwaveFlash.StopPlay");
    m_playing = false;
    return S_OK;
}

HRESULT FlashControl::GotoFrame(long frame)
{
    Log(L"IShockwaveFlash.GotoFrame(" + std::to_wstring(frame) + L")");
    if (!m_movie || frame < 0)
        return E_FAIL;
    m_frame = std::min(frame, static_cast<long>(m_movie->frames.size()) - 1);
    m_entered = false;
    Invalidate();
    return S_OK;
}

HRESULT FlashControl::CurrentFrame(long* frame)
{
    Log(L"IShockwaveFlash.CurrentFrame");
    if (!frame)
        return E_POINTER;
    *frame = m_frame;
    return S_OK;
}

HRESULT FlashControl::IsPlaying(VARIANT_BOOL* playing)
{
    Log(L"IShockwaveFlash.IsPlaying");
    if (!playing)
        return E_POINTER;
    *playing = m_playing ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT FlashControl::PercentLoaded(long* percent)
{
    Log(L"IShockwaveFlash.PercentLoaded");
    if (!percent)
        return E_POINTER;
    *percent = m_movie ? 100 : 0;
    return S_OK;
}

HRESULT FlashControl::FlashVersion(long* version)
{
    Log(L"IShockwaveFlash.FlashVersion");
    if (!version)
        return E_POINTER;
    *version = VISTELLO_FLASH_MAJOR << 16 | VISTELLO_FLASH_MINOR;
    return S_OK;
}

HRESULT FlashControl::get_WMode(BSTR* mode)
{
    Log(L"IShockwaveFlash.get_WMode");
    return CopyToBstr(m_wmode, mode);
}

HRESULT FlashControl::put_WMode(BSTR mode)
{
    Log(L"IShockwaveFlash.put_WMode(" + Quote(mode) + L")");
    m_wmode = mode ? mode : L"";
    return S_OK;
}

HRESULT FlashControl::get_BGColor(BSTR* colour)
{
    Log(L"IShockwaveFlash.get_BGColor");
    return CopyToBstr(RgbText(m_background), colour);
}

HRESULT FlashControl::put_BGColor(BSTR colour)
{
    Log(L"IShockwaveFlash.put_BGColor(" + Quote(colour) + L")");
    if (!ParseRgbText(colour, m_background))
        return E_INVALIDARG;
    Invalidate();
    return S_OK;
}

HRESULT FlashControl::get_Quality2(BSTR* quality)
{
    Log(L"IShockwaveFlash.get_Quality2");
    return CopyToBstr(m_quality2, quality);
}

HRESULT FlashControl::put_Quality2(BSTR quality)
{
    Log(L"IShockwaveFlash.put_Quality2(" + Quote(quality) + L")");
    m_quality2 = quality ? quality : L"";
    return S_OK;
}

HRESULT FlashControl::get_FlashVars(BSTR* vars)
{
    Log(L"IShockwaveFlash.get_FlashVars");
    return CopyToBstr(m_flashVars, vars);
}

HRESULT FlashControl::put_FlashVars(BSTR vars)
{
    Log(L"IShockwaveFlash.put_FlashVars(" + Quote(vars) + L")");
    m_flashVars = vars ? vars : L"";
    return S_OK;
}

HRESULT FlashControl::CallFunction(BSTR request, BSTR* response)
{
    std::wstring text = request ? request : L"";
    Log(L"IShockwaveFlash.CallFunction(" + Quote(request) + L")");
    if (!response)
        return E_POINTER;
    *response = nullptr;
    std::wstring name = InvokedName(text);
    if (!m_movie || name.empty()) {
        Log(L"CallFunction refused");
        return E_FAIL;
    }
    auto answer = m_movie->answers.find(name);
    if (answer != m_movie->answers.end())
        return CopyToBstr(answer->second, response);
    auto fetch = m_movie->fetches.find(name);
    if (fetch == m_movie->fetches.end()) {
        Log(L"CallFunction refused");
        return E_FAIL;
    }
    std::wstring url = fetch->second;
    HRESULT hr = SiteBinding::Start(
        ClientSite(), url, static_cast<IOleObject*>(this), [this](const std::wstring& line) { Log(line); },
        [this](HRESULT result, const std::string& bytes) {
            Log(L"background " + (FAILED(result) ? L"failed " + Hex(result) : DescribeBackgroundPicture(bytes)));
        });
    if (hr == E_NOINTERFACE)
        Log(L"background failed " + Hex(hr));
    return CopyToBstr(L"<undefined/>", response);
}

HRESULT FlashControl::SetReturnValue(BSTR value)
{
    Log(L"IShockwaveFlash.SetReturnValue(" + Quote(value) + L")" + (m_inFlashCall ? L"" : L" outside a call"));
    if (m_inFlashCall)
        m_returnValue = value ? value : L"";
    return S_OK;
}

HRESULT FlashControl::DisableLocalSecurity()
{
    Log(L"IShockwaveFlash.DisableLocalSecurity");
    return S_OK;
}

// IShockwaveFlash members no host calls

HRESULT FlashControl::get_AlignMode(int*)
{
    return NotImplemented(L"get_AlignMode");
}

HRESULT FlashControl::put_AlignMode(int)
{
    return NotImplemented(L"put_AlignMode");
}

HRESULT FlashControl::SetZoomRect(long, long, long, long)
{
    return NotImplemented(L"SetZoomRect");
}

HRESULT FlashControl::Zoom(int)
{
    return NotImplemented(L"Zoom");
}

HRESULT FlashControl::Pan(long, long, int)
{
    return NotImplemented(L"Pan");
}

HRESULT FlashControl::Back()
{
    return NotImplemented(L"Back");
}

HRESULT FlashControl::Forward()
{
    return NotImplemented(L"Forward");
}

HRESULT FlashControl::FrameLoaded(long, VARIANT_BOOL*)
{
    return NotImplemented(L"FrameLoaded");
}

HRESULT FlashControl::get_SAlign(BSTR*)
{
    return NotImplemented(L"get_SAlign");
}

HRESULT FlashControl::put_SAlign(BSTR)
{
    return NotImplemented(L"put_SAlign");
}

HRESULT FlashControl::get_Menu(VARIANT_BOOL*)
{
    return NotImplemented(L"get_Menu");
}

HRESULT FlashControl::put_Menu(VARIANT_BOOL)
{
    return NotImplemented(L"put_Menu");
}

HRESULT FlashControl::get_Base(BSTR*)
{
    return NotImplemented(L"get_Base");
}

HRESULT FlashControl::put_Base(BSTR)
{
    return NotImplemented(L"put_Base");
}

HRESULT FlashControl::get_Scale(BSTR*)
{
    return NotImplemented(L"get_Scale");
}

HRESULT FlashControl::put_Scale(BSTR)
{
    return NotImplemented(L"put_Scale");
}

HRESULT FlashControl::get_DeviceFont(VARIANT_BOOL*)
{
    return NotImplemented(L"get_DeviceFont");
}

HRESULT FlashControl::put_DeviceFont(VARIANT_BOOL)
{
    return NotImplemented(L"put_DeviceFont");
}

HRESULT FlashControl::get_EmbedMovie(VARIANT_BOOL*)
{
    return NotImplemented(L"get_EmbedMovie");
}

HRESULT FlashControl::put_EmbedMovie(VARIANT_BOOL)
{
    return NotImplemented(L"put_EmbedMovie");
}

HRESULT FlashControl::LoadMovie(int, BSTR)
{
    return NotImplemented(L"LoadMovie");
}

HRESULT FlashControl::TGotoFrame(BSTR, long)
{
    return NotImplemented(L"TGotoFrame");
}

HRESULT FlashControl::TGotoLabel(BSTR, BSTR)
{
    return NotImplemented(L"TGotoLabel");
}

HRESULT FlashControl::TCurrentFrame(BSTR, long*)
{
    return NotImplemented(L"TCurrentFrame");
}

HRESULT FlashControl::TCurrentLabel(BSTR, BSTR*)
{
    return NotImplemented(L"TCurrentLabel");
}

HRESULT FlashControl::TPlay(BSTR)
{
    return NotImplemented(L"TPlay");
}

HRESULT FlashControl::TStopPlay(BSTR)
{
    return NotImplemented(L"TStopPlay");
}

HRESULT FlashControl::SetVariable(BSTR, BSTR)
{
    return NotImplemented(L"SetVariable");
}

HRESULT FlashControl::GetVariable(BSTR, BSTR*)
{
    return NotImplemented(L"GetVariable");
}

HRESULT FlashControl::TSetProperty(BSTR, int, BSTR)
{
    return NotImplemented(L"TSetProperty");
}

HRESULT FlashControl::TGetProperty(BSTR, int, BSTR*)
{
    return NotImplemented(L"TGetProperty");
}

HRESULT FlashControl::TCallFrame(BSTR, int)
{
    return NotImplemented(L"TCallFrame");
}

HRESULT FlashControl::TCallLabel(BSTR, BSTR)
{
    return NotImplemented(L"TCallLabel");
}

HRESULT FlashControl::TSetPropertyNum(BSTR, int, double)
{
    return NotImplemented(L"TSetPropertyNum");
}

HRESULT FlashControl::TGetPropertyNum(BSTR, int, double*)
{
    return NotImplemented(L"TGetPropertyNum");
}

HRESULT FlashControl::TGetPropertyAsNumber(BSTR, int, double*)
{
    return NotImplemented(L"TGetPropertyAsNumber");
}

HRESULT FlashControl::get_SWRemote(BSTR*)
{
    return NotImplemented(L"get_SWRemote");
}

HRESULT FlashControl::put_SWRemote(BSTR)
{
    return NotImplemented(L"put_SWRemote");
}

HRESULT FlashControl::get_AllowScriptAccess(BSTR*)
{
    return NotImplemented(L"get_AllowScriptAccess");
}

HRESULT FlashControl::put_AllowScriptAccess(BSTR)
{
    return NotImplemented(L"put_AllowScriptAccess");
}

HRESULT FlashControl::get_MovieData(BSTR*)
{
    return NotImplemented(L"get_MovieData");
}

HRESULT FlashControl::put_MovieData(BSTR)
{
    return NotImplemented(L"put_MovieData");
}

HRESULT FlashControl::get_InlineData(IUnknown**)
{
    return NotImplemented(L"get_InlineData");
}

HRESULT FlashControl::put_InlineData(IUnknown*)
{
    return NotImplemented(L"put_InlineData");
}

HRESULT FlashControl::get_SeamlessTabbing(VARIANT_BOOL*)
{
    return NotImplemented(L"get_SeamlessTabbing");
}

HRESULT FlashControl::put_SeamlessTabbing(VARIANT_BOOL)
{
    return NotImplemented(L"put_SeamlessTabbing");
}

HRESULT FlashControl::EnforceLocalSecurity()
{
    return NotImplemented(L"EnforceLocalSecurity");
}

HRESULT FlashControl::get_Profile(VARIANT_BOOL*)
{
    return NotImplemented(L"get_Profile");
}

HRESULT FlashControl::put_Profile(VARIANT_BOOL)
{
    return NotImplemented(L"put_Profile");
}

HRESULT FlashControl::get_ProfileAddress(BSTR*)
{
    return NotImplemented(L"get_ProfileAddress");
}

HRESULT FlashControl::put_ProfileAddress(BSTR)
{
    return NotImplemented(L"put_ProfileAddress");
}

HRESULT FlashControl::get_ProfilePort(long*)
{
    return NotImplemented(L"get_ProfilePort");
}

HRESULT FlashControl::put_ProfilePort(long)
{
    return NotImplemented(L"put_ProfilePort");
}

HRESULT FlashControl::get_AllowNetworking(BSTR*)
{
    return NotImplemented(L"get_AllowNetworking");
}

HRESULT FlashControl::put_AllowNetworking(BSTR)
{
    return NotImplemented(L"put_AllowNetworking");
}

HRESULT FlashControl::get_AllowFullScreen(BSTR*)
{
    return NotImplemented(L"get_AllowFullScreen");
}

HRESULT FlashControl::put_AllowFullScreen(BSTR)
{
    return NotImplemented(L"put_AllowFullScreen");
}

}  // namespace standin
