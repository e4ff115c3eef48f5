#include "addin/hosting/QuickTimeControlNode.h"

#include "addin/hosting/PlayerVersionProbes.h"
#include "addin/hosting/QuickTimeControlNodeProxy.h"
#include "addin/hosting/SiteContainer.h"
#include "hostapi/QuickTimeInterfaces.h"

namespace {

const wchar_t* TrueOrFalse(bool value)
{
    return value ? L"true" : L"false";
}

VARIANT_BOOL ToVariantBool(bool value)
{
    return value ? VARIANT_TRUE : VARIANT_FALSE;
}

VARIANT LeftOut()
{
    VARIANT missing;
    VariantInit(&missing);
    missing.vt = VT_ERROR;
    missing.scode = DISP_E_PARAMNOTFOUND;
    return missing;
}

// Calls a slot of the control's interface when there is one; the answer is
// not looked at.
template <class Slot, class... Args>
void CallSlot(IUnknown* object, int slot, Args... args)
{
    if (!object)
        return;
    QuickTimeSlot<Slot>(object, slot)(object, args...);
    object->Release();
}

}  // namespace

QuickTimeControlNode::QuickTimeControlNode() : ActiveXNode(WindowedKind, false), m_sink(new QuickTimeEventSink(this))
{
    m_sink->AddRef();
    SetProperty(MKString(L"bgcolor"), MKString(L"FF0000"));
    SetProperty(MKString(L"BorderStyle"), 0);
    SetBorderColor(255);
    SetProperty(MKString(L"Sizing"), 2);
    SetProperty(MKString(L"MovieControllerVisible"), MKString(L"true"));
    SetProperty(MKString(L"autoplay"), MKString(L"false"));
}

QuickTimeControlNode::~QuickTimeControlNode()
{
    m_sink->ForgetHandler();
    m_sink->Release();
}

HRESULT QuickTimeControlNode::GetInstalledVersion(MKVersion& out)
{
    return ProbeQuickTimeControlVersion(out) ? S_OK : E_FAIL;
}

NodeProxy* QuickTimeControlNode::CreateProxy()
{
    return MakeNodeProxy<QuickTimeControlNodeProxy>(this);
}

const CLSID* QuickTimeControlNode::GetControlClsid()
{
    return &CLSID_QuickTimeControl;
}

HRESULT QuickTimeControlNode::GetContainer(IOleContainer** container)
{
    return SiteContainer::Create(container);
}

bool QuickTimeControlNode::ConnectEvents()
{
    return SUCCEEDED(Connect(DIID_QuickTimeControlEvents, static_cast<IDispatch*>(m_sink)));
}

IUnknown* QuickTimeControlNode::QueryControlInterface() const
{
    IUnknown* control = nullptr;
    if (FAILED(QueryControl(IID_IQuickTimeControl, reinterpret_cast<void**>(&control))))
        return nullptr;
    return control;
}

IUnknown* QuickTimeControlNode::QueryMovie() const
{
    if (!IsControlActive())
        return nullptr;
    IUnknown* control = QueryControlInterface();
    if (!control)
        return nullptr;
    IDispatch* movie = nullptr;
    const HRESULT hr = QuickTimeSlot<QtObjectSlot>(control, kQtControlGetMovie)(control, &movie);
    control->Release();
    if (hr != S_OK) {
        if (movie)
            movie->Release();
        return nullptr;
    }
    return movie;
}

bool QuickTimeControlNode::IsRunning() const
{
    const int state = GetState();
    return (state == Starting || state == Started) && IsControlActive();
}

// --- Setters: the bag before the control is in place, the control after ---

void QuickTimeControlNode::SetUrl(const MKString& url)
{
    const bool changed = !(url == m_url);
    m_url = url;
    if (!IsControlActive()) {
        SetProperty(MKString(L"URL"), url);
        return;
    }
    if (!changed)
        return;
    BSTR text = url.ToBstr();
    CallSlot<QtTextSlot>(QueryControlInterface(), kQtControlSetUrl, text);
    SysFreeString(text);
}

void QuickTimeControlNode::SetBorderStyle(int32_t style)
{
    if (!IsControlActive())
        SetProperty(MKString(L"BorderStyle"), style);
    else
        CallSlot<QtLongSlot>(QueryControlInterface(), kQtControlSetBorderStyle, long(style));
}

void QuickTimeControlNode::SetBorderColor(uint32_t colour)
{
    const uint32_t rgb = ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
    if (!IsControlActive())
        SetProperty(MKString(L"BorderColor"), int32_t(rgb));
    else
        CallSlot<QtLongSlot>(QueryControlInterface(), kQtControlSetBorderColor, long(rgb));
}

void QuickTimeControlNode::SetMovieControllerVisible(bool visible)
{
    if (!IsControlActive())
        SetProperty(MKString(L"MovieControllerVisible"), MKString(TrueOrFalse(visible)));
    else
        CallSlot<QtBoolSlot>(QueryControlInterface(), kQtControlSetControllerVisible, ToVariantBool(visible));
}

void QuickTimeControlNode::SetSizing(int32_t sizing)
{
    if (!IsControlActive())
        SetProperty(MKString(L"Sizing"), sizing);
    else
        CallSlot<QtLongSlot>(QueryControlInterface(), kQtControlSetSizing, long(sizing));
}

void QuickTimeControlNode::SetAutoPlayProperty(bool autoPlay)
{
    if (!IsControlActive()) {
        SetProperty(MKString(L"autoplay"), MKString(TrueOrFalse(autoPlay)));
        return;
    }
    BSTR text = SysAllocString(TrueOrFalse(autoPlay));
    CallSlot<QtTextSlot>(QueryControlInterface(), kQtControlSetAutoPlay, text);
    SysFreeString(text);
}

void QuickTimeControlNode::SetMovieFlag(bool flag)
{
    m_movieFlag = flag;
    if (IsRunning())
        ApplyMovieFlag(flag);
}

void QuickTimeControlNode::SetControlFlag(bool flag)
{
    m_controlFlag = flag;
    if (IsRunning())
        ApplyControlFlag();
}

void QuickTimeControlNode::ApplyControlFlag()
{
    CallSlot<QtBoolSlot>(QueryControlInterface(), kQtControlSetControlFlag, ToVariantBool(m_controlFlag));
}

// --- Movie operations ----------------------------------------------------------

bool QuickTimeControlNode::CallMovie(int slot)
{
    IUnknown* movie = QueryMovie();
    if (!movie)
        return false;
    QuickTimeSlot<QtNoArgumentSlot>(movie, slot)(movie);
    movie->Release();
    return true;
}

bool QuickTimeControlNode::Play()
{
    IUnknown* movie = QueryMovie();
    if (!movie)
        return false;
    QuickTimeSlot<QtVariantSlot>(movie, kQtMoviePlay)(movie, LeftOut());
    movie->Release();
    return true;
}

bool QuickTimeControlNode::MovieCommand1()
{
    return CallMovie(kQtMovieCommand1);
}

bool QuickTimeControlNode::MovieCommand2()
{
    return CallMovie(kQtMovieCommand2);
}

bool QuickTimeControlNode::MovieCommand3()
{
    return CallMovie(kQtMovieCommand3);
}

bool QuickTimeControlNode::MovieCommand4()
{
    return CallMovie(kQtMovieCommand4);
}

bool QuickTimeControlNode::ApplyMovieFlag(bool flag)
{
    IUnknown* movie = QueryMovie();
    if (!movie)
        return false;
    QuickTimeSlot<QtBoolSlot>(movie, kQtMovieSetFlag)(movie, ToVariantBool(flag));
    movie->Release();
    return true;
}

bool QuickTimeControlNode::GetMovieRect(RECT& rect)
{
    rect = RECT{};
    IUnknown* movie = QueryMovie();
    if (!movie)
        return false;
    RECT answer = {};
    const HRESULT hr = QuickTimeSlot<QtRectSlot>(movie, kQtMovieGetRect)(movie, &answer);
    movie->Release();
    if (FAILED(hr))
        return false;
    rect = answer;
    return true;
}

// --- Lifecycle -------------------------------------------------------------------

bool QuickTimeControlNode::Initialise()
{
    if (m_initialised)
        return false;
    IUnknown* control = QueryControlInterface();
    if (!control)
        return false;
    m_initialised = true;
    VARIANT first;
    VariantInit(&first);
    first.vt = VT_I4;
    first.lVal = 0;
    VARIANT second = LeftOut();
    if (m_initOption != 0) {
        second.vt = VT_I4;
        second.lVal = 0;
    }
    long out = 0;
    const HRESULT hr = QuickTimeSlot<QtInitialiseSlotFn>(control, kQtControlInitialise)(control, first, second, &out);
    control->Release();
    return hr == S_OK;
}

bool QuickTimeControlNode::OnActivate()
{
    if (FAILED(CreateControl()))
        return false;
    Initialise();
    return StartControl();
}

bool QuickTimeControlNode::OnStart()
{
    SetAnimating(true);
    if (FAILED(CreateControl())) {
        SetAnimating(false);
        return false;
    }
    Initialise();
    if (!StartControl()) {
        SetAnimating(false);
        return false;
    }
    ApplyStartFlags();
    return true;
}

void QuickTimeControlNode::ApplyStartFlags()
{
    ApplyControlFlag();
    ApplyMovieFlag(m_movieFlag);
    if (m_playOnLoad)
        Play();
}

void QuickTimeControlNode::OnQuickTimeStatus(int32_t first, int32_t second, const MKString& text)
{
    OnStatus(first, second, text);
}

void QuickTimeControlNode::OnStatus(int32_t, int32_t second, const MKString&)
{
    const int state = GetState();
    if (second != kQuickTimeStatusLoaded || (state != Starting && state != Started))
        return;
    ApplyStartFlags();
}

// --- Painting ----------------------------------------------------------------------

LRESULT QuickTimeControlNode::OnControlWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT)
        PaintBackground(window);
    return ActiveXNode::OnControlWindowMessage(window, message, wParam, lParam);
}

void QuickTimeControlNode::PaintBackground(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (!dc)
        return;
    RECT movie;
    // Once painted, the movie and its controller below it are the control's.
    if (m_painted && GetMovieRect(movie))
        ExcludeClipRect(dc, movie.left, movie.top, movie.right, movie.bottom + kControllerHeight);
    RECT client;
    GetClientRect(window, &client);
    SetBkColor(dc, RGB(255, 0, 0));
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
    EndPaint(window, &paint);
    m_painted = true;
}
