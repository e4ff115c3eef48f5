#pragma once
#include "hostapi/QuickTimeInterfaces.h"
#include "standins/controls/OleControl.h"
#include "standins/controls/SlotObject.h"
#include "standins/quicktime/QuickTimeMovie.h"

namespace standin {

// The stand-in QuickTime plug-in control, registered under its CLSID:
// windowless when the site allows it and "wmode" is "transparent", else
// windowed. IQuickTimePlugin is a raw slot table (SlotObject) with slots 43
// (autoplay) and 57 (src) filled, logged as "slot <n> <name>(<argument>)".
// The movie named by "src" (bag or slot 57) is loaded through the site's bind
// host when it offers one (SiteBinding), else read from the path; it plays
// while autoplay is on. It paints "bgcolor" (default black) when windowed,
// then the movie's current frame.
class QuickTimePlugin final : public OleControl {
public:
    QuickTimePlugin();

protected:
    void* QueryOwn(REFIID iid) override;
    std::vector<std::wstring> BagNames() const override;
    void ApplyProperty(const std::wstring& name, const std::wstring& value) override;
    void OnPropertiesLoaded() override;
    bool WantsWindowless() const override;
    void Paint(HDC dc, const RECT& bounds, bool transparent) override;
    void OnTick() override;

private:
    ~QuickTimePlugin() override = default;

    static QuickTimePlugin* From(SlotObject* self);
    static HRESULT STDMETHODCALLTYPE SetAutoPlay(SlotObject* self, long on);
    static HRESULT STDMETHODCALLTYPE SetSrc(SlotObject* self, BSTR src);

    void LoadSrc(const std::wstring& src);
    void OnMovieData(unsigned generation, HRESULT hr, const std::string& bytes);

    SlotObject m_interface;
    std::wstring m_src;
    std::wstring m_wmode;
    QuickTimeMovie m_movie;
    unsigned m_generation = 0;
    uint32_t m_background = 0;
    bool m_autoPlay = false;
};

}  // namespace standin
