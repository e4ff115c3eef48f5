#include "standins/quicktime/QuickTimePlugin.h"

#include "standins/controls/ColourFill.h"
#include "standins/controls/ColourText.h"
#include "standins/controls/ControlLog.h"
#include "standins/controls/SiteBinding.h"

namespace standin {

QuickTimePlugin* QuickTimePlugin::From(SlotObject* self)
{
    return static_cast<QuickTimePlugin*>(static_cast<IOleObject*>(self->owner));
}

QuickTimePlugin::QuickTimePlugin() : OleControl(L"qtplugin", CLSID_QuickTimePlugin, nullptr, nullptr)
{
    static const auto table = [] {
        auto slots = MakeSlotTable<kQtPluginSlotCount>();
        slots[kQtPluginSetAutoPlay] = reinterpret_cast<void*>(&SetAutoPlay);
        slots[kQtPluginSetSrc] = reinterpret_cast<void*>(&SetSrc);
        return slots;
    }();
    m_interface = {table.data(), static_cast<IOleObject*>(this), Name(), L""};
}

void* QuickTimePlugin::QueryOwn(REFIID iid)
{
    if (iid == IID_IQuickTimePlugin || iid == IID_IDispatch)
        return &m_interface;
    return nullptr;
}

std::vector<std::wstring> QuickTimePlugin::BagNames() const
{
    return {L"src", L"wmode", L"bgcolor", L"scale", L"autoplay"};
}

void QuickTimePlugin::ApplyProperty(const std::wstring& name, const std::wstring& value)
{
    if (name == L"src")
        m_src = value;
    else if (name == L"wmode")
        m_wmode = value;
    else if (name == L"bgcolor")
        ParseRgbText(value.c_str(), m_background);
    else if (name == L"autoplay")
        m_autoPlay = value == L"true";
}

void QuickTimePlugin::OnPropertiesLoaded()
{
    if (!m_src.empty())
        LoadSrc(m_src);
}

bool QuickTimePlugin::WantsWindowless() const
{
    return _wcsicmp(m_wmode.c_str(), L"transparent") == 0;
}

void QuickTimePlugin::LoadSrc(const std::wstring& src)
{
    m_src = src;
    m_movie.Clear();
    unsigned generation = ++m_generation;
    SiteBinding::Load(ClientSite(), src, static_cast<IOleObject*>(this), [this](const std::wstring& line) { Log(line); },
                      [this, generation](HRESULT hr, const std::string& bytes) { OnMovieData(generation, hr, bytes); });
}

void QuickTimePlugin::OnMovieData(unsigned generation, HRESULT hr, const std::string& bytes)
{
    if (generation != m_generation)
        return;
    std::wstring error;
    if (FAILED(hr)) {
        Log(L"movie failed " + Hex(hr));
        return;
    }
    if (!m_movie.Load(bytes, error)) {
        Log(L"movie rejected: " + error);
        return;
    }
    Log(L"movie loaded");
    m_movie.SetPlaying(m_autoPlay);
    StartClock(1000 / m_movie.Rate());
    Invalidate();
}

void QuickTimePlugin::OnTick()
{
    if (m_movie.Advance())
        Invalidate();
}

void QuickTimePlugin::Paint(HDC dc, const RECT& bounds, bool transparent)
{
    if (!transparent)
        FillArgb(dc, bounds, 0xFF000000 | m_background);
    FillArgb(dc, bounds, m_movie.Colour());
}

HRESULT QuickTimePlugin::SetAutoPlay(SlotObject* self, long on)
{
    self->Log(L"slot 43 AutoPlay(" + std::to_wstring(on) + L")");
    QuickTimePlugin* plugin = From(self);
    plugin->m_autoPlay = on != 0;
    plugin->m_movie.SetPlaying(plugin->m_autoPlay);
    return S_OK;
}

HRESULT QuickTimePlugin::SetSrc(SlotObject* self, BSTR src)
{
    self->Log(L"slot 57 Src(" + Quote(src) + L")");
    From(self)->LoadSrc(src ? src : L"");
    return S_OK;
}

}  // namespace standin
