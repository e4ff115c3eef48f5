#include "standins/quicktime/QuickTimeControl.h"

#include "standins/controls/ColourFill.h"
#include "standins/controls/ColourText.h"
#include "standins/controls/ControlLog.h"
#include "standins/controls/SiteBinding.h"

#include <algorithm>

namespace standin {
namespace {

const long kStatusFailed = 4100;
const int kControllerHeight = 16;

}  // namespace

QuickTimeControl* QuickTimeControl::From(SlotObject* self)
{
    return static_cast<QuickTimeControl*>(static_cast<IOleObject*>(self->owner));
}

QuickTimeControl::QuickTimeControl()
    : OleControl(L"quicktime", CLSID_QuickTimeControl, &DIID_QuickTimeControlEvents, L"QuickTimeControlEvents")
{
    static const auto controlTable = [] {
        auto table = MakeSlotTable<kQtControlSlotCount>();
        table[kQtControlSetBorderColor] = reinterpret_cast<void*>(&SetBorderColor);
        table[kQtControlSetBorderStyle] = reinterpret_cast<void*>(&SetBorderStyle);
        table[kQtControlInitialise] = reinterpret_cast<void*>(&Initialise);
        table[kQtControlSetUrl] = reinterpret_cast<void*>(&SetUrl);
        table[kQtControlGetMovie] = reinterpret_cast<void*>(&GetMovie);
        table[kQtControlSetControllerVisible] = reinterpret_cast<void*>(&SetControllerVisible);
        table[kQtControlSetControlFlag] = reinterpret_cast<void*>(&SetControlFlag);
        table[kQtControlSetSizing] = reinterpret_cast<void*>(&SetSizing);
        table[kQtControlSetAutoPlay] = reinterpret_cast<void*>(&SetAutoPlay);
        return table;
    }();
    static const auto movieTable = [] {
        auto table = MakeSlotTable<kQtMovieSlotCount>();
        table[kQtMovieSetFlag] = reinterpret_cast<void*>(&MovieSetFlag);
        table[kQtMovieGetRect] = reinterpret_cast<void*>(&MovieGetRect);
        table[kQtMovieCommand1] = reinterpret_cast<void*>(&MovieCommand<kQtMovieCommand1>);
        table[kQtMoviePlay] = reinterpret_cast<void*>(&MoviePlay);
        table[kQtMovieCommand3] = reinterpret_cast<void*>(&MovieCommand<kQtMovieCommand3>);
        table[kQtMovieCommand4] = reinterpret_cast<void*>(&MovieCommand<kQtMovieCommand4>);
        table[kQtMovieCommand2] = reinterpret_cast<void*>(&MovieCommand<kQtMovieCommand2>);
        return table;
    }();
    IUnknown* self = static_cast<IOleObject*>(this);
    m_interface = {controlTable.data(), self, Name(), L""};
    m_movieInterface = {movieTable.data(), self, Name(), L"movie "};
}

void* QuickTimeControl::QueryOwn(REFIID iid)
{
    if (iid == IID_IQuickTimeControl || iid == IID_IDispatch)
        return &m_interface;
    return nullptr;
}

std::vector<std::wstring> QuickTimeControl::BagNames() const
{
    return {L"URL", L"bgcolor", L"BorderStyle", L"BorderColor", L"Sizing", L"MovieControllerVisible", L"autoplay"};
}

void QuickTimeControl::ApplyProperty(const std::wstring& name, const std::wstring& value)
{
    if (name == L"url")
        m_url = value;
    else if (name == L"bgcolor")
        ParseRgbText(value.c_str(), m_background);
    else if (name == L"moviecontrollervisible")
        m_controllerVisible = value == L"true";
    else if (name == L"autoplay")
        m_autoPlay = value == L"true";
}

void QuickTimeControl::OnPropertiesLoaded()
{
    if (!m_url.empty())
        LoadUrl(m_url);
}

void QuickTimeControl::LoadUrl(const std::wstring& url)
{
    m_url = url;
    m_movie.Clear();
    SiteBinding::ReadFile(url, [this](HRESULT hr, const std::string& bytes) {
        std::wstring error;
        if (FAILED(hr))
            Log(L"movie failed " + Hex(hr));
        else if (!m_movie.Load(bytes, error))
            Log(L"movie rejected: " + error);
        else
            Log(L"movie loaded");
    });
    m_status = m_movie.Loaded() ? kQuickTimeStatusLoaded : kStatusFailed;
    m_movie.SetPlaying(m_autoPlay);
    m_statusPending = true;
    StartClock(1000 / m_movie.Rate());
    Invalidate();
}

void QuickTimeControl::OnTick()
{
    if (m_statusPending) {
        m_statusPending = false;
        VARIANT arguments[3];
        arguments[0].vt = VT_I4;
        arguments[0].lVal = 0;
        arguments[1].vt = VT_I4;
        arguments[1].lVal = m_status;
        arguments[2].vt = VT_BSTR;
        arguments[2].bstrVal = SysAllocString(m_url.c_str());
        HRESULT hr = Events()->Fire(kQtEventStatus, {arguments[0], arguments[1], arguments[2]});
        Log(L"fire Status(0, " + std::to_wstring(m_status) + L", " + Quote(m_url.c_str()) + L") = " + Hex(hr));
        SysFreeString(arguments[2].bstrVal);
    }
    if (m_movie.Advance())
        Invalidate();
}

RECT QuickTimeControl::MovieRect(const RECT& bounds) const
{
    RECT movie = bounds;
    if (m_controllerVisible)
        movie.bottom = std::max(movie.top, movie.bottom - kControllerHeight);
    return movie;
}

void QuickTimeControl::Paint(HDC dc, const RECT& bounds, bool)
{
    FillArgb(dc, bounds, 0xFF000000 | m_background);
    if (!m_movie.Loaded())
        return;
    RECT movie = MovieRect(bounds);
    FillArgb(dc, movie, m_movie.Colour());
    if (m_controllerVisible)
        FillArgb(dc, RECT{bounds.left, movie.bottom, bounds.right, bounds.bottom}, 0xFFC0C0C0);
}

// IQuickTimeControl slots

HRESULT QuickTimeControl::SetBorderColor(SlotObject* self, long colour)
{
    self->Log(L"slot 10 BorderColor(" + std::to_wstring(colour) + L")");
    return S_OK;
}

HRESULT QuickTimeControl::SetBorderStyle(SlotObject* self, long style)
{
    self->Log(L"slot 12 BorderStyle(" + std::to_wstring(style) + L")");
    return S_OK;
}

HRESULT QuickTimeControl::Initialise(SlotObject* self, VARIANT first, VARIANT second, long* out)
{
    self->Log(L"slot 14 Initialise(" + VariantText(first) + L", " + VariantText(second) + L")");
    if (!out)
        return E_POINTER;
    *out = 0;
    return S_OK;
}

HRESULT QuickTimeControl::SetUrl(SlotObject* self, BSTR url)
{
    self->Log(L"slot 17 URL(" + Quote(url) + L")");
    From(self)->LoadUrl(url ? url : L"");
    return S_OK;
}

HRESULT QuickTimeControl::GetMovie(SlotObject* self, IDispatch** movie)
{
    QuickTimeControl* control = From(self);
    self->Log(std::wstring(L"slot 24 Movie = ") + (control->m_movie.Loaded() ? L"movie" : L"null"));
    if (!movie)
        return E_POINTER;
    *movie = nullptr;
    if (!control->m_movie.Loaded())
        return S_FALSE;
    *movie = reinterpret_cast<IDispatch*>(&control->m_movieInterface);
    control->AddRef();
    return S_OK;
}

HRESULT QuickTimeControl::SetControllerVisible(SlotObject* self, VARIANT_BOOL visible)
{
    self->Log(std::wstring(L"slot 36 MovieControllerVisible(") + (visible ? L"true" : L"false") + L")");
    From(self)->m_controllerVisible = visible != VARIANT_FALSE;
    From(self)->Invalidate();
    return S_OK;
}

HRESULT QuickTimeControl::SetControlFlag(SlotObject* self, VARIANT_BOOL flag)
{
    self->Log(std::wstring(L"slot 42 ControlFlag(") + (flag ? L"true" : L"false") + L")");
    return S_OK;
}

HRESULT QuickTimeControl::SetSizing(SlotObject* self, long sizing)
{
    self->Log(L"slot 55 Sizing(" + std::to_wstring(sizing) + L")");
    return S_OK;
}

HRESULT QuickTimeControl::SetAutoPlay(SlotObject* self, BSTR autoPlay)
{
    self->Log(L"slot 61 AutoPlay(" + Quote(autoPlay) + L")");
    From(self)->m_autoPlay = autoPlay && std::wstring(autoPlay) == L"true";
    return S_OK;
}

// Movie slots

HRESULT QuickTimeControl::MovieSetFlag(SlotObject* self, VARIANT_BOOL flag)
{
    self->Log(std::wstring(L"slot 28 Flag(") + (flag ? L"true" : L"false") + L")");
    return S_OK;
}

HRESULT QuickTimeControl::MovieGetRect(SlotObject* self, RECT* rect)
{
    QuickTimeControl* control = From(self);
    if (!rect)
        return E_POINTER;
    const RECT& position = control->Position();
    *rect = control->MovieRect(RECT{0, 0, position.right - position.left, position.bottom - position.top});
    self->Log(L"slot 128 Rect = " + RectText(*rect));
    return S_OK;
}

HRESULT QuickTimeControl::MoviePlay(SlotObject* self, VARIANT option)
{
    self->Log(L"slot 182 Play(" + VariantText(option) + L")");
    From(self)->m_movie.SetPlaying(true);
    return S_OK;
}

template <int Slot>
HRESULT QuickTimeControl::MovieCommand(SlotObject* self)
{
    self->Log(L"slot " + std::to_wstring(Slot) + L" Command");
    return S_OK;
}

}  // namespace standin
