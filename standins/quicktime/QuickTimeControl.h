#pragma once
#include "hostapi/QuickTimeInterfaces.h"
#include "standins/controls/OleControl.h"
#include "standins/controls/SlotObject.h"
#include "standins/quicktime/QuickTimeMovie.h"

namespace standin {

// The stand-in QuickTime Control, registered under its CLSID: always
// windowed; IQuickTimeControl and the movie object are raw slot tables
// (SlotObject) with the slots of QuickTimeControlSlot and QuickTimeMovieSlot
// filled, each logging "slot <n> <name>(<arguments>)" (the movie's lines
// start "movie slot"). Setting the URL (slot 17, or "URL" in the property
// bag) reads the movie file at that path (a MovieScript; "file:///" dropped)
// and, on the next clock tick, fires the Status event (DISPID 4) with
// (0, 4099, URL) when it loaded, (0, 4100, URL) when it did not; logged as
// "fire Status(0, 4099, \"<url>\") = 0x...". Slot 24 hands out the movie
// object (null and S_FALSE without a movie). It paints "bgcolor" (default
// red), the movie's current frame over the movie rectangle and, while the
// controller is visible, a grey 16-pixel controller strip below it.
class QuickTimeControl final : public OleControl {
public:
    QuickTimeControl();

protected:
    void* QueryOwn(REFIID iid) override;
    std::vector<std::wstring> BagNames() const override;
    void ApplyProperty(const std::wstring& name, const std::wstring& value) override;
    void OnPropertiesLoaded() override;
    void Paint(HDC dc, const RECT& bounds, bool transparent) override;
    void OnTick() override;

private:
    ~QuickTimeControl() override = default;

    static QuickTimeControl* From(SlotObject* self);
    static HRESULT STDMETHODCALLTYPE SetBorderColor(SlotObject* self, long colour);
    static HRESULT STDMETHODCALLTYPE SetBorderStyle(SlotObject* self, long style);
    static HRESULT STDMETHODCALLTYPE Initialise(SlotObject* self, VARIANT first, VARIANT second, long* out);
    static HRESULT STDMETHODCALLTYPE SetUrl(SlotObject* self, BSTR url);
    static HRESULT STDMETHODCALLTYPE GetMovie(SlotObject* self, IDispatch** movie);
    static HRESULT STDMETHODCALLTYPE SetControllerVisible(SlotObject* self, VARIANT_BOOL visible);
    static HRESULT STDMETHODCALLTYPE SetControlFlag(SlotObject* self, VARIANT_BOOL flag);
    static HRESULT STDMETHODCALLTYPE SetSizing(SlotObject* self, long sizing);
    static HRESULT STDMETHODCALLTYPE SetAutoPlay(SlotObject* self, BSTR autoPlay);
    static HRESULT STDMETHODCALLTYPE MovieSetFlag(SlotObject* self, VARIANT_BOOL flag);
    static HRESULT STDMETHODCALLTYPE MovieGetRect(SlotObject* self, RECT* rect);
    static HRESULT STDMETHODCALLTYPE MoviePlay(SlotObject* self, VARIANT option);
    template <int Slot>
    static HRESULT STDMETHODCALLTYPE MovieCommand(SlotObject* self);

    void LoadUrl(const std::wstring& url);
    RECT MovieRect(const RECT& bounds) const;

    SlotObject m_interface;
    SlotObject m_movieInterface;
    std::wstring m_url;
    QuickTimeMovie m_movie;
    uint32_t m_background = 0xFF0000;
    bool m_controllerVisible = true;
    bool m_autoPlay = false;
    bool m_statusPending = false;
    long m_status = 0;
};

}  // namespace standin
